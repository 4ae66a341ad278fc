// SPDX-License-Identifier: GPL-3.0-or-later
#include "kit/GapList.h"

#include <gtest/gtest.h>
#include <memory>
#include <random>
#include <vector>

namespace {

struct Element {
    int32_t place = -1;
};

} // namespace

TEST(GapList, EditsAnywhereKeepTheOrderAndEveryElementsIndex) {
    std::vector<std::unique_ptr<Element>> pool;
    kit::GapList<Element, &Element::place> list;
    std::vector<Element*> expected;
    std::mt19937 random(1);
    for (int step = 0; step < 3000; step++) {
        const size_t at = random() % (expected.size() + 1);
        if (random() % 5 < 3 || at == expected.size()) {
            // One to three new elements, as adding rows or showing subitems does.
            std::vector<Element*> added;
            for (size_t n = random() % 3 + 1; n > 0; n--) {
                pool.push_back(std::make_unique<Element>());
                added.push_back(pool.back().get());
            }
            list.Insert(at, added);
            expected.insert(expected.begin() + static_cast<ptrdiff_t>(at), added.begin(),
                            added.end());
        } else {
            const size_t count = std::min<size_t>(random() % 3 + 1, expected.size() - at);
            list.Erase(at, count);
            expected.erase(expected.begin() + static_cast<ptrdiff_t>(at),
                           expected.begin() + static_cast<ptrdiff_t>(at + count));
        }
        ASSERT_EQ(list.ToVector(), expected) << step;
        for (size_t i = 0; i < expected.size(); i++) {
            ASSERT_EQ(list[i], expected[i]);
            ASSERT_EQ(list.IndexOf(expected[i]), i) << step;
        }
    }
    list.Assign({expected.rbegin(), expected.rend()});
    EXPECT_EQ(list.IndexOf(expected.front()), expected.size() - 1);
}
