// SPDX-License-Identifier: GPL-3.0-or-later
#include "kit/StableSort.h"

#include <algorithm>
#include <gtest/gtest.h>
#include <random>
#include <utility>
#include <vector>

TEST(StableSort, SortsAndKeepsEqualElementsInTheirOrder) {
    std::mt19937 random(1);
    // Sizes around the insertion-sorted runs of 8 and their merges.
    for (const size_t n : {0U, 1U, 2U, 8U, 9U, 17U, 31U, 100U, 1000U}) {
        // A key with many ties and the element's original place.
        std::vector<std::pair<int, size_t>> elements;
        for (size_t i = 0; i < n; i++) {
            elements.emplace_back(static_cast<int>(random() % 7), i);
        }
        // Stable by key alone is sorted by key and place.
        std::vector<std::pair<int, size_t>> expected = elements;
        std::sort(expected.begin(), expected.end());
        kit::StableSort(std::span(elements),
                        [](const auto& a, const auto& b) { return a.first < b.first; });
        EXPECT_EQ(elements, expected) << n;
    }
}
