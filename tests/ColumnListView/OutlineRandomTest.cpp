// SPDX-License-Identifier: GPL-3.0-or-later
#include "ListFixture.h"

#include <gtest/gtest.h>
#include <map>
#include <random>

namespace {

constexpr int32_t kName = 1;

// Each row of the full list with its superitem.
std::map<const CLVListItem*, const CLVListItem*> Superitems(const ColumnListView* list) {
    std::map<const CLVListItem*, const CLVListItem*> superitems;
    for (int32_t i = 0; i < list->FullListCountItems(); i++) {
        const CLVListItem* row = list->FullListItemAt(i);
        superitems[row] = list->Superitem(row);
    }
    return superitems;
}

// Both lists know where their rows stand, and the shown rows are exactly the rows whose
// superitems are all expanded, in full-list order.
testing::AssertionResult IsWhole(const ColumnListView* list) {
    std::vector<const CLVListItem*> expected;
    for (int32_t i = 0; i < list->FullListCountItems(); i++) {
        const CLVListItem* row = list->FullListItemAt(i);
        if (list->FullListIndexOf(row) != i) {
            return testing::AssertionFailure() << "full-list row " << i << " misplaced";
        }
        bool shown = true;
        for (const CLVListItem* up = list->Superitem(row); up && shown; up = list->Superitem(up)) {
            shown = up->IsExpanded();
        }
        if (shown) {
            expected.push_back(row);
        }
    }
    if (static_cast<int32_t>(expected.size()) != list->CountItems()) {
        return testing::AssertionFailure()
               << list->CountItems() << " rows shown, " << expected.size() << " expected";
    }
    for (int32_t i = 0; i < list->CountItems(); i++) {
        if (list->ItemAt(i) != expected[static_cast<size_t>(i)] ||
            list->IndexOf(list->ItemAt(i)) != i) {
            return testing::AssertionFailure() << "shown row " << i << " is wrong";
        }
    }
    return testing::AssertionSuccess();
}

} // namespace

TEST(ColumnListOutlineRandom, OperationsInAnyOrderKeepTheOutlineWhole) {
    for (const unsigned seed : {1U, 2U, 3U}) {
        OutlineList o;
        ColumnListView* list = o.list;
        list->SetSortFunction(CLVEasyItem::CompareItems);
        list->SetSortKey(kName);
        std::mt19937 random(seed);
        const auto pick = [&random](uint32_t n) { return static_cast<int32_t>(random() % n); };
        const auto make = [&](uint32_t level) {
            const bool expanded = pick(3) > 0;
            o.items.push_back(std::make_unique<RecordingItem>(level, pick(2) == 0, expanded));
            o.items.back()->SetColumnContent(kName, std::to_string(pick(20)).c_str());
            return o.items.back().get();
        };
        for (int step = 0; step < 1000; step++) {
            const auto before = Superitems(list);
            const int32_t count = list->FullListCountItems();
            CLVListItem* row = count > 0 ? list->FullListItemAt(pick(count)) : nullptr;
            switch (row ? pick(7) : 0) {
            case 0: // Appending at any level makes irregular outlines.
                list->AddItem(make(static_cast<uint32_t>(pick(4))));
                break;
            case 1:
                list->AddUnder(make(0), row);
                break;
            case 2:
                list->Expand(row);
                break;
            case 3:
                list->Collapse(row);
                break;
            case 4:
                list->RemoveItem(list->FullListIndexOf(row));
                break;
            case 5:
                list->SetSortMode(kName, pick(2) == 0 ? CLVSortAscending : CLVSortDescending);
                break;
            default:
                list->SortItems();
                break;
            }
            ASSERT_TRUE(IsWhole(list)) << "seed " << seed << ", step " << step;
            for (const auto& [item, superitem] : Superitems(list)) {
                const auto old = before.find(item);
                ASSERT_TRUE(old == before.end() || old->second == superitem)
                    << "a row changed its superitem; seed " << seed << ", step " << step;
            }
        }
    }
}
