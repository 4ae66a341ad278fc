// SPDX-License-Identifier: GPL-3.0-or-later
#include "lookup/MusicBrainzIds.h"

#include <algorithm>
#include <cctype>
#include <cstddef>

bool IsMusicBrainzId(std::string_view id) {
    constexpr size_t kLength = 36;
    if (id.size() != kLength) {
        return false;
    }
    for (size_t i = 0; i < kLength; ++i) {
        const char c = id[i];
        const bool dash = i == 8 || i == 13 || i == 18 || i == 23;
        const bool hex = (c >= '0' && c <= '9') || (c >= 'a' && c <= 'f');
        if (dash ? c != '-' : !hex) {
            return false;
        }
    }
    return true;
}

bool IsMusicBrainzDiscId(std::string_view id) {
    constexpr size_t kLength = 28;
    return id.size() == kLength && std::all_of(id.begin(), id.end(), [](char c) {
               return (c >= 'A' && c <= 'Z') || (c >= 'a' && c <= 'z') || (c >= '0' && c <= '9') ||
                      c == '.' || c == '_' || c == '-';
           });
}
