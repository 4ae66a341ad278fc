// SPDX-License-Identifier: GPL-3.0-or-later
#include "kit/OutsideText.h"

#include <cstdint>

namespace kit {

namespace {

constexpr char32_t kReplacement = 0xFFFD;

// The code point at the start of `bytes` and its length in bytes; the length is 0 where the
// bytes there are not UTF-8.
struct Decoded {
    char32_t point = 0;
    size_t length = 0;
};

Decoded DecodeOne(std::string_view bytes) {
    const auto lead = static_cast<unsigned char>(bytes[0]);
    if (lead < 0x80) {
        return {lead, 1};
    }
    size_t length = 0;
    char32_t point = 0;
    char32_t smallest = 0;
    if ((lead & 0xE0) == 0xC0) {
        length = 2;
        point = lead & 0x1F;
        smallest = 0x80;
    } else if ((lead & 0xF0) == 0xE0) {
        length = 3;
        point = lead & 0x0F;
        smallest = 0x800;
    } else if ((lead & 0xF8) == 0xF0) {
        length = 4;
        point = lead & 0x07;
        smallest = 0x10000;
    } else {
        return {};
    }
    if (bytes.size() < length) {
        return {};
    }
    for (size_t i = 1; i < length; ++i) {
        const auto next = static_cast<unsigned char>(bytes[i]);
        if ((next & 0xC0) != 0x80) {
            return {};
        }
        point = (point << 6) | (next & 0x3F);
    }
    const bool surrogate = point >= 0xD800 && point <= 0xDFFF;
    if (point < smallest || point > 0x10FFFF || surrogate) {
        return {};
    }
    return {point, length};
}

void Append(std::string& text, char32_t point) {
    if (point < 0x80) {
        text += static_cast<char>(point);
    } else if (point < 0x800) {
        text += static_cast<char>(0xC0 | (point >> 6));
        text += static_cast<char>(0x80 | (point & 0x3F));
    } else if (point < 0x10000) {
        text += static_cast<char>(0xE0 | (point >> 12));
        text += static_cast<char>(0x80 | ((point >> 6) & 0x3F));
        text += static_cast<char>(0x80 | (point & 0x3F));
    } else {
        text += static_cast<char>(0xF0 | (point >> 18));
        text += static_cast<char>(0x80 | ((point >> 12) & 0x3F));
        text += static_cast<char>(0x80 | ((point >> 6) & 0x3F));
        text += static_cast<char>(0x80 | (point & 0x3F));
    }
}

bool IsControl(char32_t point) {
    return point < 0x20 || (point >= 0x7F && point <= 0x9F);
}

// LRE, RLE, PDF, LRO, RLO and LRI, RLI, FSI, PDI.
bool IsDirectionControl(char32_t point) {
    return (point >= 0x202A && point <= 0x202E) || (point >= 0x2066 && point <= 0x2069);
}

} // namespace

std::string CleanOutsideText(std::string_view utf8) {
    std::string text;
    text.reserve(utf8.size());
    while (!utf8.empty()) {
        Decoded one = DecodeOne(utf8);
        if (one.length == 0) {
            one = {kReplacement, 1};
        }
        utf8.remove_prefix(one.length);
        if (one.point == '\t' || one.point == '\n' || one.point == '\r') {
            text += ' ';
        } else if (!IsControl(one.point) && !IsDirectionControl(one.point)) {
            Append(text, one.point);
        }
    }
    return text;
}

bool IsUtf8(std::string_view bytes) {
    while (!bytes.empty()) {
        const size_t length = DecodeOne(bytes).length;
        if (length == 0) {
            return false;
        }
        bytes.remove_prefix(length);
    }
    return true;
}

std::optional<std::string> Utf8OrLatin1(std::string_view bytes) {
    // UTF-16 begins with a byte order mark or holds NULs beside its ASCII characters.
    const bool utf16 = bytes.starts_with("\xFF\xFE") || bytes.starts_with("\xFE\xFF");
    if (utf16 || bytes.find('\0') != std::string_view::npos) {
        return std::nullopt;
    }
    if (IsUtf8(bytes)) {
        return std::string(bytes);
    }
    std::string text;
    text.reserve(bytes.size() * 2);
    for (const char byte : bytes) {
        Append(text, static_cast<unsigned char>(byte));
    }
    return text;
}

} // namespace kit
