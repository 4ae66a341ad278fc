// SPDX-License-Identifier: GPL-3.0-or-later
#include "filelist/NamePattern.h"

#include <algorithm>

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

// The disc's number where the release has several discs (or an unknown number, and this is not
// its first); nothing for a release of one disc.
void AppendDisc(std::string& result, int32_t number, int32_t count) {
    if (number > 0 && (count > 1 || (count == 0 && number > 1))) {
        result += std::to_string(number);
    }
}

// A value names one file or folder, never a path: its slashes would add folder levels.
void AppendValue(std::string& result, std::string_view value) {
    const size_t start = result.size();
    result += value;
    std::replace(result.begin() + static_cast<std::ptrdiff_t>(start), result.end(), '/', '-');
}

// The Save As text usually still carries the source's extension; the output gets its own.
void DropWavExtension(std::string& result) {
    result.resize(WithoutWavExtension(result).size());
}

// A component that values turned into "." or ".." would name the folder itself or its parent
// and so lead out of the output folder; its dots become underscores.
void DefuseDotComponent(std::string& result, size_t componentStart) {
    const std::string_view component = std::string_view(result).substr(componentStart);
    if (component == "." || component == "..") {
        std::fill(result.begin() + static_cast<std::ptrdiff_t>(componentStart), result.end(), '_');
    }
}

// What separates codes in a pattern ("%t-%s", "%t - %s", "%a_%s", "%t.%s").
bool IsSeparator(char c) {
    return c == '-' || c == ' ' || c == '_' || c == '.';
}

// The full text where the field cut it, else the field's.
std::string_view Longer(std::string_view field, std::string_view full) {
    return full.size() > field.size() ? full : field;
}

} // namespace

std::string_view WithoutWavExtension(std::string_view text) {
    return text.ends_with(".wav") ? text.substr(0, text.size() - 4) : text;
}

std::string ExpandNamePattern(std::string_view pattern, const ID3_struct& tag, int32_t track,
                              std::string_view saveAsText, const FullTexts& full) {
    std::string result;
    // The component being written, and whether a code wrote into it.
    size_t componentStart = 0;
    bool componentHasCode = false;
    for (size_t i = 0; i < pattern.size(); ++i) {
        if (pattern[i] != '%') {
            if (pattern[i] == '/') {
                if (componentHasCode) {
                    DefuseDotComponent(result, componentStart);
                }
                componentStart = result.size() + 1;
                componentHasCode = false;
            }
            // Codes that gave nothing leave no separator at the start of a name: "%t-%s" without
            // a track gives "Alpha", not "-Alpha", which a shell would take for an option.
            if (componentHasCode && result.size() == componentStart && IsSeparator(pattern[i])) {
                continue;
            }
            result += pattern[i];
            continue;
        }
        componentHasCode = true;
        const char code = i + 1 < pattern.size() ? pattern[++i] : '\0';
        switch (code) {
        case 'a':
            AppendValue(result, Longer(TagText(tag.artist), full.artist));
            break;
        case 'c':
            AppendValue(result, Longer(TagText(tag.album), full.album));
            break;
        case 'y':
            AppendValue(result, TagText(tag.year));
            break;
        case 't':
            AppendTrack(result, track);
            break;
        case 'd':
            AppendDisc(result, full.discNumber, full.discCount);
            break;
        case 'A':
            AppendValue(result, full.albumArtist.empty() ? Longer(TagText(tag.artist), full.artist)
                                                         : full.albumArtist);
            break;
        case 's': {
            const std::string_view title = Longer(TagText(tag.title), full.title);
            AppendValue(result, title.empty() ? saveAsText : title);
            DropWavExtension(result);
            break;
        }
        case 'n':
            AppendValue(result, saveAsText);
            DropWavExtension(result);
            break;
        default:
            result += '%';
            break;
        }
    }
    if (componentHasCode) {
        DefuseDotComponent(result, componentStart);
    }
    return result;
}
