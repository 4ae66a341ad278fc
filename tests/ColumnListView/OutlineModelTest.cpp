// SPDX-License-Identifier: GPL-3.0-or-later
#include "ColumnListView/CLVOutline.h"
#include "ColumnListView/CLVSortKeys.h"

#include <climits>
#include <gtest/gtest.h>
#include <string>
#include <vector>

namespace {

struct Entry {
    uint32_t level;
    std::string name;
};

// An outline as the functions see it.
struct Outline {
    std::vector<Entry> entries;

    int32_t Count() const { return static_cast<int32_t>(entries.size()); }
    auto Level() const {
        return [this](int32_t i) { return entries[static_cast<size_t>(i)].level; };
    }
    std::string Names(const std::vector<int32_t>& indexes) const {
        std::string names;
        for (const int32_t i : indexes) {
            names += (names.empty() ? "" : " ") + entries[static_cast<size_t>(i)].name;
        }
        return names;
    }
    // Sorted by name, ascending.
    std::string Sorted() const {
        return Names(outline::SortOutline(Count(), Level(), [this](int32_t i, int32_t j) {
            return entries[static_cast<size_t>(i)].name < entries[static_cast<size_t>(j)].name;
        }));
    }
};

// a
//   b
//     c
//     d
//   e
// f
//   g
// h
const Outline kTree{
    {{0, "a"}, {1, "b"}, {2, "c"}, {2, "d"}, {1, "e"}, {0, "f"}, {1, "g"}, {0, "h"}}};

} // namespace

TEST(OutlineModel, RemovalRangesTakeTheSubitemsOfTheirShallowestEntries) {
    const auto level = kTree.Level();
    const int32_t n = kTree.Count();
    EXPECT_EQ(outline::RemovalEnd(n, 1, 1, level), 4);
    EXPECT_EQ(outline::RemovalEnd(n, 3, 2, level), 5) << "d and e: e's level 1 is the lowest";
    EXPECT_EQ(outline::RemovalEnd(n, 4, 2, level), 7) << "e and f take g along";
    EXPECT_EQ(outline::RemovalEnd(n, 2, 0, level), 2);

    // The one-pass subtree ends that sorting uses agree with the walk.
    std::vector<int32_t> each;
    for (int32_t i = 0; i < n; i++) {
        each.push_back(outline::SubtreeEnd(n, i, level));
    }
    EXPECT_EQ(outline::SubtreeEnds(n, level), each);
}

TEST(OutlineModel, SortingIsStableAndLosesNothingOfIrregularOutlines) {
    // Equal entries keep their order.
    const Outline equal{{{0, "x"}, {1, "2"}, {1, "1"}, {0, "x"}, {0, "w"}, {1, "0"}}};
    const auto firstLetter = [&](int32_t i, int32_t j) {
        return equal.entries[static_cast<size_t>(i)].name[0] <
               equal.entries[static_cast<size_t>(j)].name[0];
    };
    EXPECT_EQ(outline::SortOutline(equal.Count(), equal.Level(), firstLetter),
              (std::vector<int32_t>{4, 5, 0, 2, 1, 3}));

    // Entries without a superitem are all top-level, whatever their level; x after c would
    // belong to it.
    EXPECT_EQ((Outline{{{2, "x"}, {0, "b"}, {1, "c"}, {0, "a"}}}).Sorted(), "x a b c");
    // A superitem's direct subitems may have different levels; each keeps its own subitems, and
    // only those of one level change places, or a deeper one would end up under a shallower one.
    EXPECT_EQ((Outline{{{0, "p"}, {2, "z"}, {1, "y"}, {2, "w"}, {3, "v"}}}).Sorted(), "p z y w v");
    EXPECT_EQ((Outline{{{0, "p"}, {2, "z"}, {2, "x"}, {1, "y"}, {1, "b"}}}).Sorted(), "p x z b y");
}

TEST(OutlineModel, DeepOutlinesSortWithoutRecursion) {
    Outline chain;
    constexpr uint32_t kDepth = 100000;
    for (uint32_t level = 0; level < kDepth; level++) {
        chain.entries.push_back({level, "n"});
    }
    const std::vector<int32_t> order =
        outline::SortOutline(chain.Count(), chain.Level(), [](int32_t, int32_t) { return false; });
    ASSERT_EQ(order.size(), kDepth);
    EXPECT_EQ(order.back(), static_cast<int32_t>(kDepth - 1));
}

TEST(SortKeys, TheFirstDifferingKeyDecidesAndDescendingKeysReverse) {
    const std::vector<CLVSortKey> keys{{3, CLVSortAscending}, {1, CLVSortDescending}};
    // Compare results per column for one pair of rows.
    const auto pair = [&](int32_t in3, int32_t in1) {
        return CompareByKeys(keys, [=](int32_t column) { return column == 3 ? in3 : in1; });
    };
    EXPECT_EQ(pair(-5, 7), -1) << "the primary key decides";
    EXPECT_EQ(pair(0, 7), -1) << "equal in the primary key: the descending second reverses";
    EXPECT_EQ(pair(0, -2), 1);
    EXPECT_EQ(pair(0, 0), 0);
    EXPECT_EQ(pair(0, INT32_MIN), 1) << "reversed without overflow";
    EXPECT_EQ(CompareByKeys({}, [](int32_t) { return 1; }), 0) << "no keys: all equal";

    EXPECT_EQ(NextSortMode(CLVSortAscending), CLVSortDescending);
    EXPECT_EQ(NextSortMode(CLVSortDescending), CLVSortNone);
    EXPECT_EQ(NextSortMode(CLVSortNone), CLVSortAscending);
}
