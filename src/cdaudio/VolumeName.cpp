// SPDX-License-Identifier: GPL-3.0-or-later
#include "cdaudio/VolumeName.h"

namespace {

bool IsContinuationByte(char c) {
    return (static_cast<unsigned char>(c) & 0xC0) == 0x80;
}

// The text without its last code point.
std::string_view DropLast(std::string_view text) {
    if (text.empty()) {
        return text;
    }
    size_t end = text.size() - 1;
    while (end > 0 && IsContinuationByte(text[end])) {
        --end;
    }
    return text.substr(0, end);
}

// The text without its first code point.
std::string_view DropFirst(std::string_view text) {
    if (text.empty()) {
        return text;
    }
    size_t start = 1;
    while (start < text.size() && IsContinuationByte(text[start])) {
        ++start;
    }
    return text.substr(start);
}

} // namespace

ArtistAlbum SplitVolumeName(std::string_view name) {
    const size_t dash = name.find('-');
    if (dash == std::string_view::npos) {
        return {{}, std::string(name)};
    }
    return {std::string(DropLast(name.substr(0, dash))),
            std::string(DropFirst(name.substr(dash + 1)))};
}
