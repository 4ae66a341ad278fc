// SPDX-License-Identifier: GPL-3.0-or-later
// The tag values of one file, laid out byte for byte as the file list keeps them and the ID3v1
// writer copies them: every text is zero-filled behind its last character, so each can be written
// as a fixed-width ID3v1 field (30 bytes, the year 4) without further work.
#pragma once

#include <cstddef>
#include <cstdint>
#include <cstring>
#include <string>
#include <string_view>

struct ID3_struct {
    char marker[2];   // always zero; never read or written
    char title[31];   // at most 30 characters, then zeros
    char artist[31];  // at most 30 characters, then zeros
    char album[31];   // at most 30 characters, then zeros
    char year[5];     // at most 4 characters, then zeros
    char comment[31]; // at most 30 characters, then zeros
    uint8_t genre;    // genre number of the genre table
};

static_assert(offsetof(ID3_struct, marker) == 0);
static_assert(offsetof(ID3_struct, title) == 2);
static_assert(offsetof(ID3_struct, artist) == 33);
static_assert(offsetof(ID3_struct, album) == 64);
static_assert(offsetof(ID3_struct, year) == 95);
static_assert(offsetof(ID3_struct, comment) == 100);
static_assert(offsetof(ID3_struct, genre) == 131);
static_assert(sizeof(ID3_struct) == 132, "no gaps between the fields");

// How many leading bytes of a UTF-8 text of `length` bytes fit in `limit` bytes without cutting a
// character: the cut moves back over continuation bytes to the start of the character it would
// split.
inline std::size_t Utf8CutLength(const char* text, std::size_t length, std::size_t limit) {
    if (length <= limit) {
        return length;
    }
    std::size_t cut = limit;
    while (cut > 0 && (static_cast<unsigned char>(text[cut]) & 0xC0) == 0x80) {
        --cut;
    }
    return cut;
}

// Stores a text into a tag field: zero-fills the whole field, then copies at most one byte less
// than the field holds (30, the year 4), so a longer text is cut, never inside a character, and a
// terminator always remains. A null text leaves the field empty. The text may be the field's own.
template <std::size_t N> void SetTagText(char (&field)[N], const char* text) {
    char cut[N] = {};
    if (text != nullptr) {
        std::memcpy(cut, text, Utf8CutLength(text, strnlen(text, N), N - 1));
    }
    std::memcpy(field, cut, N);
}

// The text held in a tag field, never reaching past its last usable byte even when the field
// carries no terminator.
template <std::size_t N> std::string_view TagText(const char (&field)[N]) {
    return {field, strnlen(field, N - 1)};
}

// Whether the field holds the text as storing it there leaves it: the text itself, or its first
// 30 bytes (the year 4). A full-length text kept beside a field stands for it only while this
// holds, so that a value changed by hand wins.
template <std::size_t N> bool FieldHolds(const char (&field)[N], const std::string& full) {
    char cut[N];
    SetTagText(cut, full.c_str());
    return !full.empty() && TagText(cut) == TagText(field);
}
