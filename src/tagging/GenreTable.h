// SPDX-License-Identifier: GPL-3.0-or-later
// The 111 ID3v1 genres: their names by genre number, the same names in the order of the Genre
// menu, and the lookups between a name, its number and its menu position.
#pragma once

#include <array>
#include <cstdint>
#include <optional>
#include <string_view>

inline constexpr int genre_count = 111;

using GenreList = std::array<const char*, genre_count>;

// Names by genre number; 0 is the genre of a row nobody has tagged. 84 repeats the name of 30.
extern const GenreList genre_table;

// The same names ordered by plain byte comparison (upper case before lower case), duplicates side
// by side: the order of the Genre menu.
extern const GenreList genre_table_sorted;

// The first genre number whose name equals the text exactly (case-sensitive); 0 when none does.
uint8_t GetGenreIndex(const char* name);

// The first menu position whose name equals the text exactly (case-sensitive); 0 when none does.
uint8_t GetGenreSortedIndex(const char* name);

// The name of a genre number, or "Unknown" for a number the table does not hold.
const char* GenreName(int genre);

// The genre number of a name (UTF-8): the first of the table's names that equals it, exactly or
// else in another letter case; nothing for a name outside the table.
std::optional<uint8_t> GenreNumberOfName(std::string_view name);
