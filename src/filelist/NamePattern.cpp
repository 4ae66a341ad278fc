#include "filelist/NamePattern.h"

namespace {

void AppendTrack(std::string& result, int32_t track) {
    if (track < 0) {
        return;
    }
    if (track < 10) {
        result += '0';
    }
    result += std::to_string(track);
}

// The Save As text usually still carries the source's extension; the output gets its own.
void DropWavExtension(std::string& result) {
    if (result.ends_with(".wav")) {
        result.resize(result.size() - 4);
    }
}

} // namespace

std::string ExpandNamePattern(std::string_view pattern, const ID3_struct& tag, int32_t track,
                              std::string_view saveAsText) {
    std::string result;
    for (size_t i = 0; i < pattern.size(); ++i) {
        if (pattern[i] != '%') {
            result += pattern[i];
            continue;
        }
        const char code = i + 1 < pattern.size() ? pattern[++i] : '\0';
        switch (code) {
        case 'a':
            result += TagText(tag.artist);
            break;
        case 'c':
            result += TagText(tag.album);
            break;
        case 'y':
            result += TagText(tag.year);
            break;
        case 't':
            AppendTrack(result, track);
            break;
        case 's': {
            const std::string_view title = TagText(tag.title);
            result += title.empty() ? saveAsText : title;
            DropWavExtension(result);
            break;
        }
        case 'n':
            result += saveAsText;
            DropWavExtension(result);
            break;
        default:
            result += '%';
            break;
        }
    }
    return result;
}
