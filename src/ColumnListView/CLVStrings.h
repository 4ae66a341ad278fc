// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include "kit/Font.h"

#include <cstdint>

// String helpers of the column list. Texts are UTF-8; the helpers that cut texts never cut
// inside a character.

// Copies at most size - 1 bytes of src into dst, filling the rest of the first size - 1 bytes
// with NUL as strncpy does, and always stores NUL at dst[size - 1]. Returns dst.
char* Strtcpy(char* dst, const char* src, int32_t size);
// A copy in a new array, released by the caller with delete[].
char* Strdup_new(const char* src);
// The concatenation in a new array, released by the caller with delete[].
char* Strcat_new(const char* a, const char* b);
char* Strcat_new(const char* a, const char* b, const char* c);
char* Strcat_new(const char* a, const char* b, const char* c, const char* d);
// Convert ASCII letters in place; other bytes are left alone.
void StrToLower(char* text);
void StrToUpper(char* text);

// Measures the strings, fills widths[i] when widths is not null, and returns the largest width.
float GetStringsMaxWidth(const char* const* strings, int32_t count, const kit::Font* font,
                         float* widths = nullptr);

// Writes into `out` (of outSize bytes) the text shortened to `width` pixels in `font`: step by
// step the last character before "..." is dropped (spaces before the dots go too) until the
// result fits; the first character always remains, with two dots, one dot or none. A text that
// fits is copied unchanged; at most outSize - 3 bytes of it are used.
void GetTruncatedString(const char* full, char* out, float width, int32_t outSize,
                        const kit::Font* font);

// The number of leading bytes the two texts share, ending at a character boundary.
int32_t CommonPrefixLength(const char* a, const char* b);
