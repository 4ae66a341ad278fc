// SPDX-License-Identifier: GPL-3.0-or-later
#include "ColumnListView/CLVStrings.h"

#include <algorithm>
#include <cstring>
#include <string>
#include <vector>

namespace {

bool IsContinuationByte(char c) {
    return (static_cast<unsigned char>(c) & 0xc0) == 0x80;
}

// Bytes of the character that starts the text.
int32_t FirstCharacterLength(const char* text) {
    if (!*text) {
        return 0;
    }
    int32_t length = 1;
    while (IsContinuationByte(text[length])) {
        length++;
    }
    return length;
}

char* Concatenate(std::initializer_list<const char*> parts) {
    size_t length = 0;
    for (const char* part : parts) {
        length += part ? std::strlen(part) : 0;
    }
    char* result = new char[length + 1];
    char* end = result;
    for (const char* part : parts) {
        if (part) {
            const size_t n = std::strlen(part);
            std::memcpy(end, part, n);
            end += n;
        }
    }
    *end = '\0';
    return result;
}

} // namespace

char* Strtcpy(char* dst, const char* src, int32_t size) {
    if (size <= 0) {
        return dst;
    }
    std::strncpy(dst, src, static_cast<size_t>(size - 1));
    dst[size - 1] = '\0';
    return dst;
}

char* Strdup_new(const char* src) {
    return Concatenate({src});
}

char* Strcat_new(const char* a, const char* b) {
    return Concatenate({a, b});
}

char* Strcat_new(const char* a, const char* b, const char* c) {
    return Concatenate({a, b, c});
}

char* Strcat_new(const char* a, const char* b, const char* c, const char* d) {
    return Concatenate({a, b, c, d});
}

void StrToLower(char* text) {
    for (; *text; text++) {
        if (*text >= 'A' && *text <= 'Z') {
            *text = static_cast<char>(*text - 'A' + 'a');
        }
    }
}

void StrToUpper(char* text) {
    for (; *text; text++) {
        if (*text >= 'a' && *text <= 'z') {
            *text = static_cast<char>(*text - 'a' + 'A');
        }
    }
}

float GetStringsMaxWidth(const char* const* strings, int32_t count, const kit::Font* font,
                         float* widths) {
    float widest = 0.0f;
    for (int32_t i = 0; i < count; i++) {
        const float w = font->StringWidth(strings[i]);
        if (widths) {
            widths[i] = w;
        }
        widest = std::max(widest, w);
    }
    return widest;
}

void GetTruncatedString(const char* full, char* out, float width, int32_t outSize,
                        const kit::Font* font) {
    if (outSize < 3) {
        if (outSize > 0) {
            out[0] = '\0';
        }
        return;
    }
    Strtcpy(out, full, outSize - 2);
    auto length = static_cast<int32_t>(std::strlen(out));
    // A text cut by the buffer ends at the last whole character.
    while (length > 0 && IsContinuationByte(full[length])) {
        out[--length] = '\0';
    }
    if (length == 0 || font->StringWidth(out) <= width) {
        return;
    }

    // The steps, each dropping one more character before "...": i is where the dots start, moved
    // left over a character's continuation bytes and over spaces. Only bytes left of i decide
    // the next step, so the steps are known before any is measured.
    std::vector<int32_t> steps;
    for (int32_t i = length - 1; i >= -2; i--) {
        while (i > 0 && IsContinuationByte(out[i])) {
            i--;
        }
        while (i > 0 && out[i - 1] == ' ') {
            i--;
        }
        steps.push_back(i);
    }
    // Positions up to the first character count that character as one place, so that it is
    // kept whole however many bytes it takes.
    const int32_t firstLength = FirstCharacterLength(out);
    const bool spaceFirst = out[0] == ' ';
    const std::string text(out, static_cast<size_t>(length));
    const auto write = [&](int32_t i) {
        std::memcpy(out, text.data(), text.size() + 1);
        const int32_t p = i > 0 ? i : i + firstLength - 1;
        // A leading space became a dot at step 0, which comes before the steps below 0.
        if (i > 0 || (i <= 0 && spaceFirst)) {
            out[std::max(p, 0)] = '.';
        }
        if (i >= 0) {
            out[p + 1] = '.';
        }
        if (i >= -1) {
            out[p + 2] = '.';
        }
        out[p + 3] = '\0';
    };

    // From the first step on, each step is narrower than the one before it, so the first step
    // that fits is found by halving; the last step is taken when none fits.
    size_t low = 0;
    size_t high = steps.size() - 1;
    while (low < high) {
        const size_t middle = low + (high - low) / 2;
        write(steps[middle]);
        if (font->StringWidth(out) <= width) {
            high = middle;
        } else {
            low = middle + 1;
        }
    }
    write(steps[low]);
}

int32_t CommonPrefixLength(const char* a, const char* b) {
    int32_t n = 0;
    while (a[n] && a[n] == b[n]) {
        n++;
    }
    while (n > 0 && (IsContinuationByte(a[n]) || IsContinuationByte(b[n]))) {
        n--;
    }
    return n;
}
