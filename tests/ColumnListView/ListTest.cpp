// SPDX-License-Identifier: GPL-3.0-or-later
#include "ListFixture.h"

#include <gtest/gtest.h>
#include <memory>
#include <thread>

namespace {

std::vector<int32_t> Order(const ColumnListView* list) {
    return list->DisplayOrder();
}

} // namespace

TEST(ColumnListView, RefusesColumnsItCannotTake) {
    FileListLike f;
    FileListLike other;
    CLVColumn expander(nullptr, 0.0f, CLV_COL_EXPANDER);
    EXPECT_FALSE(f.list->AddColumn(&expander)) << "expander in a flat list";
    EXPECT_FALSE(f.list->AddColumn(other.columns[0])) << "column of another list";
    EXPECT_FALSE(f.list->AddColumn(f.columns[2])) << "already in this list";
    EXPECT_FALSE(f.list->AddColumn(nullptr));

    OutlineList o;
    CLVColumn second(nullptr, 0.0f, CLV_COL_EXPANDER);
    EXPECT_FALSE(o.list->AddColumn(&second)) << "second expander";
    EXPECT_FALSE(o.list->AddColumnList({&second})) << "second expander";

    // The list is refused as a whole; nothing of it is taken.
    CLVColumn fresh("Fresh", 40.0f);
    EXPECT_FALSE(f.list->AddColumnList({&fresh, &fresh})) << "a column twice";
    EXPECT_FALSE(f.list->AddColumnList({&fresh, other.columns[1]}));
    EXPECT_FALSE(f.list->AddColumnList({&fresh, &expander}));
    EXPECT_EQ(fresh.GetParent(), nullptr);
    EXPECT_EQ(f.list->CountColumns(), 5);
    EXPECT_EQ(Order(f.list), (std::vector<int32_t>{0, 1, 2, 3, 4}));

    auto* last = new CLVColumn("Last", 40.0f);
    EXPECT_TRUE(f.list->AddColumnList({last}));
    EXPECT_EQ(last->GetParent(), f.list);
    EXPECT_EQ(f.list->IndexOfColumn(last), 5);
}

TEST(ColumnListView, RefusesRemovalsOfColumnsItDoesNotHold) {
    FileListLike f;
    CLVColumn stranger("Stranger", 40.0f);
    EXPECT_FALSE(f.list->RemoveColumn(&stranger));
    EXPECT_FALSE(f.list->RemoveColumns(&stranger, 1));
    EXPECT_FALSE(f.list->RemoveColumns(f.columns[3], 3)) << "range past the end";
    EXPECT_FALSE(f.list->RemoveColumns(f.columns[3], -1));
    EXPECT_EQ(f.list->CountColumns(), 5);

    EXPECT_TRUE(f.list->RemoveColumns(f.columns[2], 2));
    EXPECT_EQ(f.list->CountColumns(), 3);
    EXPECT_EQ(f.columns[2]->GetParent(), nullptr);
    EXPECT_EQ(f.list->ColumnAt(2), f.columns[4]);
    EXPECT_FLOAT_EQ(f.columns[4]->ColumnStart(), 68.0f);
    delete f.columns[2];
    delete f.columns[3];
    EXPECT_TRUE(f.list->RemoveColumn(f.columns[0]));
    EXPECT_EQ(f.list->ColumnAt(0), f.columns[1]);
    delete f.columns[0];
    delete f.columns[4];
    EXPECT_EQ(f.list->CountColumns(), 1) << "a deleted column leaves its list";
}

TEST(ColumnListView, DisplayOrderIsAPermutationOfTheColumns) {
    FileListLike f(2);
    const int32_t repeated[] = {0, 1, 1, 3, 4};
    const int32_t outside[] = {0, 1, 2, 3, 5};
    EXPECT_FALSE(f.list->SetDisplayOrder(repeated));
    EXPECT_FALSE(f.list->SetDisplayOrder(outside));
    EXPECT_FALSE(f.list->SetDisplayOrder(nullptr));
    EXPECT_EQ(Order(f.list), (std::vector<int32_t>{0, 1, 2, 3, 4}));
    EXPECT_TRUE(f.list->orderChanges.empty());

    const int32_t order[] = {0, 4, 2, 3, 1};
    EXPECT_TRUE(f.list->SetDisplayOrder(order));
    EXPECT_EQ(Order(f.list), (std::vector<int32_t>{0, 4, 2, 3, 1}));
    ASSERT_EQ(f.list->orderChanges.size(), 1u);
    EXPECT_EQ(f.list->orderChanges[0], (std::vector<int32_t>{0, 4, 2, 3, 1}));
    EXPECT_FLOAT_EQ(f.columns[4]->ColumnStart(), 17.0f);
    EXPECT_FLOAT_EQ(f.columns[1]->ColumnEnd(), 520.0f);

    // The rows hear of their notifying cells' new frames, hidden ones as none.
    f.columns[3]->SetShown(false);
    f.items[1]->frames.clear();
    EXPECT_TRUE(f.list->SetDisplayOrder(order));
    const auto& frames = f.items[1]->frames;
    ASSERT_EQ(frames.size(), 3u) << "Filename, Save As and Path To File notify";
    EXPECT_EQ(frames[0], std::make_pair(2, f.list->CellFrame(2, 1)));
    EXPECT_EQ(frames[1], std::make_pair(3, kNoRect));
    EXPECT_EQ(frames[2].second.left, 17.0f);
}

TEST(ColumnListView, ExpanderIndexFollowsColumnsRemovedBeforeIt) {
    OutlineList o;
    auto* before = new CLVColumn("Before", 30.0f);
    EXPECT_TRUE(o.list->RemoveColumn(o.expander));
    EXPECT_EQ(o.list->ExpanderIndex(), -1);
    EXPECT_TRUE(o.list->AddColumn(before));
    EXPECT_TRUE(o.list->AddColumn(o.expander));
    EXPECT_EQ(o.list->ExpanderIndex(), 2);

    EXPECT_TRUE(o.list->RemoveColumn(before));
    EXPECT_EQ(o.list->ExpanderIndex(), 1) << "kept in step with the columns moving left";
    EXPECT_EQ(o.list->ColumnAt(o.list->ExpanderIndex()), o.expander);
    delete before;

    auto* after = new CLVColumn("After", 30.0f);
    EXPECT_TRUE(o.list->AddColumn(after));
    EXPECT_TRUE(o.list->RemoveColumn(after));
    EXPECT_EQ(o.list->ExpanderIndex(), 1) << "columns after it do not move it";
    delete after;
}

TEST(ColumnListView, AcceptsOnlyColumnListRows) {
    FileListLike f;
    class PlainRow : public kit::ListItem {
        void DrawItem(kit::Painter&, kit::View*, kit::Rect, bool) override {}
    } plain;
    EXPECT_FALSE(f.list->AddItem(&plain));
    EXPECT_FALSE(f.list->AddItem(&plain, 0));
    EXPECT_EQ(f.list->CountItems(), 0);
    RecordingItem row;
    EXPECT_TRUE(f.list->AddItem(&row, 0));
    f.list->MakeEmpty();
}

TEST(ColumnListView, WidthChangesReachTheRowsOfNotifyingColumns) {
    OutlineList o;
    RecordingItem* top = o.Add(0, true, true, "top");
    RecordingItem* deep = o.Add(2, false, false, "deep");
    o.name->SetWidth(100.0f);
    // Name is indented: its end (121) is also the limit, so a row indented by 40 loses 40.
    ASSERT_EQ(top->widths.size(), 1u);
    EXPECT_EQ(top->widths[0], std::make_pair(1, 100.0f));
    ASSERT_EQ(deep->widths.size(), 1u);
    EXPECT_EQ(deep->widths[0], std::make_pair(1, 60.0f));

    o.expander->SetWidth(30.0f);
    EXPECT_EQ(top->widths.size(), 1u) << "fixed width, no notification without the flag";
    EXPECT_FLOAT_EQ(o.expander->Width(), 30.0f);
}

TEST(ColumnListView, SortModesAreStoredForSortableColumns) {
    FileListLike f;
    f.columns[2]->SetSortMode(CLVSortDescending);
    EXPECT_EQ(f.columns[2]->SortMode(), CLVSortDescending);
    EXPECT_EQ(f.list->sortingChanges, 1);
    f.columns[0]->SetSortMode(CLVSortAscending);
    EXPECT_EQ(f.columns[0]->SortMode(), CLVSortNone) << "not sortable: nothing happens";
    EXPECT_EQ(f.list->sortingChanges, 1) << "and no hook";
}

TEST(ColumnListView, CallsFromOtherThreadsAreReported) {
    FileListLike f;
    testing::internal::CaptureStderr();
    f.list->AssertWindowLocked();
    int32_t count = 0;
    std::thread([&] { count = f.list->CountColumns(); }).join();
    const std::string reported = testing::internal::GetCapturedStderr();
    EXPECT_EQ(reported, "ColumnListView/ColumnListView:242: The looper must be locked.\n");
    EXPECT_EQ(count, 5) << "the call proceeds";
}

TEST(ColumnListView, ScrollingKeepsTheHeaderInStepHorizontally) {
    FileListLike f(100);
    f.Show();
    f.list->ScrollTo(kit::Point(60, 200));
    EXPECT_EQ(f.list->Bounds().LeftTop(), kit::Point(60, 200));
    EXPECT_EQ(f.list->Header()->Bounds().LeftTop(), kit::Point(60, 0));
    f.container->GetScrollBar(kit::B_HORIZONTAL)->SetValue(10);
    EXPECT_EQ(f.list->Header()->Bounds().left, 10.0f);
}

TEST(ColumnListView, DeletingTheContainerOrTheListFirst) {
    auto f = std::make_unique<FileListLike>(3);
    delete f->list;
    f->container = nullptr; // the list took its container along
    f.reset();

    auto g = std::make_unique<FileListLike>(3);
    delete g->container;
    g->container = nullptr;
    g.reset();
}
