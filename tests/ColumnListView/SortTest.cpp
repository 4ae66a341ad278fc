// SPDX-License-Identifier: GPL-3.0-or-later
#include "ListFixture.h"

#include <algorithm>
#include <gtest/gtest.h>
#include <random>
#include <tuple>

namespace {

constexpr int32_t kTrack = 1;
constexpr int32_t kFilename = 2;
constexpr int32_t kSaveAs = 3;
constexpr int32_t kPath = 4;

int compareCalls = 0;

int32_t CountingCompare(const CLVListItem* a, const CLVListItem* b, int32_t column) {
    compareCalls++;
    return CLVEasyItem::CompareItems(a, b, column);
}

// Answers at random: a compare function that breaks every rule of an ordering.
int32_t RandomCompare(const CLVListItem* /*a*/, const CLVListItem* /*b*/, int32_t /*column*/) {
    static std::minstd_rand random(7);
    return static_cast<int32_t>(random() % 3) - 1;
}

// The rows of the visible list, or of the full list, in address order.
std::vector<const kit::ListItem*> RowSet(const ColumnListView* list, bool full) {
    std::vector<const kit::ListItem*> rows;
    const int32_t count = full ? list->FullListCountItems() : list->CountItems();
    for (int32_t i = 0; i < count; i++) {
        rows.push_back(full ? list->FullListItemAt(i) : list->ItemAt(i));
    }
    std::sort(rows.begin(), rows.end());
    return rows;
}

// A file-list-like list whose rows read `filename` and `saveAs` in those columns, in order.
struct Rows : FileListLike {
    explicit Rows(const std::vector<std::pair<const char*, const char*>>& cells) {
        AddRows(static_cast<int>(cells.size()));
        for (size_t i = 0; i < cells.size(); i++) {
            items[i]->SetColumnContent(kFilename, cells[i].first);
            items[i]->SetColumnContent(kSaveAs, cells[i].second);
        }
        compareCalls = 0;
    }
    std::vector<int32_t> Keys() const {
        std::vector<int32_t> indexes(static_cast<size_t>(list->CountColumns()));
        indexes.resize(static_cast<size_t>(list->Sorting(indexes.data(), nullptr)));
        return indexes;
    }
    std::string Order() const { return RowNames(list, kFilename); }
};

} // namespace

TEST(ColumnListSorting, ReversingCyclesAscendingDescendingNone) {
    Rows r({{"b", ""}, {"c", ""}, {"a", ""}});
    r.list->SetSortFunction(CountingCompare);
    r.list->SetSortKey(kFilename);
    EXPECT_EQ(r.Order(), "a b c");
    EXPECT_EQ(r.columns[kFilename]->SortMode(), CLVSortAscending);
    r.list->sortingChanges = 0;

    r.list->ReverseSortMode(kFilename);
    EXPECT_EQ(r.columns[kFilename]->SortMode(), CLVSortDescending);
    EXPECT_EQ(r.Order(), "c b a");
    EXPECT_EQ(r.Keys(), std::vector<int32_t>{kFilename});
    r.list->ReverseSortMode(kFilename);
    EXPECT_EQ(r.columns[kFilename]->SortMode(), CLVSortNone);
    EXPECT_TRUE(r.Keys().empty()) << "none leaves the keys";
    EXPECT_EQ(r.Order(), "c b a") << "and does not reorder";
    r.list->ReverseSortMode(kFilename);
    EXPECT_EQ(r.columns[kFilename]->SortMode(), CLVSortAscending);
    EXPECT_TRUE(r.Keys().empty()) << "a mode never makes a key";
    EXPECT_EQ(r.list->sortingChanges, 3);
}

TEST(ColumnListSorting, SetSortKeyOnThePrimaryKeyOnlyCallsTheHook) {
    Rows r({{"b", ""}, {"a", ""}, {"c", ""}});
    r.list->SetSortFunction(CountingCompare);
    r.list->SetSortKey(kFilename);
    EXPECT_GT(compareCalls, 0);
    compareCalls = 0;
    r.list->sortingChanges = 0;
    r.list->SetSortKey(kFilename);
    EXPECT_EQ(compareCalls, 0);
    EXPECT_EQ(r.list->sortingChanges, 1);

    r.list->ReverseSortMode(kFilename);
    r.list->SetSortKey(-1);
    EXPECT_TRUE(r.Keys().empty());
    EXPECT_EQ(r.Order(), "c b a") << "emptied without re-sorting";
    EXPECT_EQ(r.columns[kFilename]->SortMode(), CLVSortDescending) << "the mode stays";
    r.list->SetSortKey(kSaveAs);
    r.list->SetSortKey(kFilename);
    EXPECT_EQ(r.columns[kFilename]->SortMode(), CLVSortDescending) << "a key again in its mode";
    EXPECT_EQ(r.Order(), "c b a");
}

TEST(ColumnListSorting, ColumnsThatDoNotSortAreLeftAlone) {
    Rows r({{"b", ""}, {"a", ""}});
    r.list->SetSortFunction(CountingCompare);
    r.list->SetSortKey(kFilename);
    r.list->sortingChanges = 0;
    compareCalls = 0;
    for (const int32_t index : {0, 9}) {
        r.list->SetSortKey(index);
        r.list->AddSortKey(index);
        r.list->SetSortMode(index, CLVSortDescending);
        r.list->ReverseSortMode(index);
    }
    const int32_t keys[] = {0};
    const CLVSortMode modes[] = {CLVSortAscending};
    r.list->SetSorting(1, keys, modes);
    EXPECT_EQ(r.columns[0]->SortMode(), CLVSortNone);
    EXPECT_EQ(compareCalls, 0);
    EXPECT_EQ(r.list->sortingChanges, 1) << "only SetSorting's own hook";
    EXPECT_TRUE(r.Keys().empty()) << "SetSorting emptied the keys; the column was not taken";
}

TEST(ColumnListSorting, LaterKeysOrderRowsEqualInEarlierOnes) {
    Rows r({{"b", "1"}, {"a", "1"}, {"b", "2"}, {"a", "2"}, {"a", "3"}});
    const int32_t keys[] = {kFilename, kSaveAs};
    const CLVSortMode modes[] = {CLVSortAscending, CLVSortDescending};
    r.list->SetSorting(2, keys, modes);
    EXPECT_EQ(r.Keys(), (std::vector<int32_t>{kFilename, kSaveAs}));
    EXPECT_EQ(RowNames(r.list, kSaveAs), "1 1 2 2 3") << "no compare function: all equal";
    EXPECT_EQ(r.list->SortedIndex(r.items[0].get()), 5) << "and a new row goes last";

    r.list->SetSortFunction(CLVEasyItem::CompareItems);
    r.list->SortItems();
    EXPECT_EQ(r.Order(), "a a a b b");
    EXPECT_EQ(RowNames(r.list, kSaveAs), "3 2 1 2 1");
    CLVSortMode read[5];
    EXPECT_EQ(r.list->Sorting(nullptr, read), 2);
    EXPECT_EQ(read[1], CLVSortDescending);

    // A new row's place: after the rows equal to it, each key in its own direction.
    CLVEasyItem newcomer;
    for (const auto& [filename, saveAs, index] :
         {std::tuple{"a", "2", 2}, std::tuple{"a", "9", 0}, std::tuple{"c", "0", 5}}) {
        newcomer.SetColumnContent(kFilename, filename);
        newcomer.SetColumnContent(kSaveAs, saveAs);
        EXPECT_EQ(r.list->SortedIndex(&newcomer), index) << filename << saveAs;
    }

    // The header's way to the same keys: a key, a second key, then reversing the second.
    r.list->SetSortKey(kSaveAs);
    r.list->SetSortKey(kFilename);
    r.list->ReverseSortMode(kSaveAs);
    r.list->AddSortKey(kSaveAs);
    EXPECT_EQ(RowNames(r.list, kSaveAs), "1 2 3 1 2");
}

TEST(ColumnListSorting, RemovedColumnsLeaveTheKeys) {
    Rows r({{"a", "b"}, {"c", "d"}});
    const int32_t keys[] = {kSaveAs, kTrack, kFilename, kPath};
    const CLVSortMode modes[] = {CLVSortAscending, CLVSortAscending, CLVSortDescending,
                                 CLVSortAscending};
    r.list->SetSorting(4, keys, modes);
    EXPECT_TRUE(r.list->RemoveColumns(r.columns[kFilename], 2));
    // Track stays 1; Path To File is now column 2.
    EXPECT_EQ(r.Keys(), (std::vector<int32_t>{kTrack, 2}));
    delete r.columns[kFilename];
    delete r.columns[kSaveAs];
}

TEST(ColumnListSorting, ABadCompareFunctionGivesSomeOrderOfTheSameRows) {
    FileListLike f(100);
    OutlineList o;
    for (int i = 0; i < 100; i++) {
        o.Add(i % 3 == 0 ? 0 : 1, i % 3 == 0, true, "x");
    }
    for (ColumnListView* list :
         {static_cast<ColumnListView*>(f.list), static_cast<ColumnListView*>(o.list)}) {
        const std::vector<const kit::ListItem*> shown = RowSet(list, false);
        const std::vector<const kit::ListItem*> full = RowSet(list, true);
        list->SetSortFunction(RandomCompare);
        list->SetSortKey(kTrack); // Track in the flat list, Name in the outline

        for (int run = 0; run < 20; run++) {
            list->SortItems();
            ASSERT_EQ(RowSet(list, false), shown) << run;
            ASSERT_EQ(RowSet(list, true), full) << run;
        }
    }
}
