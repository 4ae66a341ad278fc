// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <cstdint>
#include <vector>

// How a column takes part in sorting; a new column starts in CLVSortNone (no part).
enum CLVSortMode { CLVSortAscending = 0, CLVSortDescending = 1, CLVSortNone = 2 };

// The mode a reversal gives: ascending, descending, none, then ascending again.
constexpr CLVSortMode NextSortMode(CLVSortMode mode) {
    switch (mode) {
    case CLVSortAscending:
        return CLVSortDescending;
    case CLVSortDescending:
        return CLVSortNone;
    case CLVSortNone:
        break;
    }
    return CLVSortAscending;
}

// One sort key: a column index and its mode.
struct CLVSortKey {
    int32_t column;
    CLVSortMode mode;
};

// Compares two rows by the keys, most significant first: `compareColumn(column)` compares them in
// one column (negative, zero or positive). A descending key reverses its own comparisons; the
// first key that tells the rows apart decides. Returns -1, 0 or 1; 0 without keys.
template <class CompareColumn>
int CompareByKeys(const std::vector<CLVSortKey>& keys, CompareColumn&& compareColumn) {
    for (const CLVSortKey& key : keys) {
        const int32_t r = compareColumn(key.column);
        // The sign alone, so that reversing the most negative result cannot overflow.
        const int sign = (r > 0) - (r < 0);
        if (sign != 0) {
            return key.mode == CLVSortDescending ? -sign : sign;
        }
    }
    return 0;
}
