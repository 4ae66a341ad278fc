// SPDX-License-Identifier: GPL-3.0-or-later
#include "ListFixture.h"

#include <QApplication>
#include <gtest/gtest.h>

namespace {

constexpr int32_t kName = 1;

std::string Shown(const OutlineList& o) {
    return RowNames(o.list, kName);
}
std::string Full(const OutlineList& o) {
    return FullListNames(o.list, kName);
}

} // namespace

TEST(ColumnListOutline, RemovingARowTakesItsSubitemsFromBothLists) {
    OutlineList o;
    RecordingItem* a = o.Add(0, true, true, "a");
    o.Add(1, true, false, "b");
    o.Add(2, false, false, "c");
    o.Add(1, false, false, "d");
    RecordingItem* e = o.Add(0, false, false, "e");
    o.Add(1, false, false, "f");
    EXPECT_EQ(Full(o), "a b c d e f");
    EXPECT_EQ(Shown(o), "a b d e") << "c is under collapsed b, f under collapsed e";

    o.list->Select(1);
    EXPECT_TRUE(o.list->RemoveItem(a));
    EXPECT_EQ(Full(o), "e f");
    EXPECT_EQ(Shown(o), "e");
    EXPECT_EQ(o.list->CurrentSelection(), -1) << "the selected row went with its superitem";
    EXPECT_FALSE(o.list->RemoveItem(a)) << "not in the list any more";
    EXPECT_TRUE(o.list->AddItem(a)) << "and free to be added again";

    EXPECT_EQ(o.list->RemoveItem(0), e);
    EXPECT_EQ(Full(o), "a");
    EXPECT_EQ(o.list->RemoveItem(5), nullptr);
    EXPECT_FALSE(o.list->RemoveItems(0, 2));
    o.list->MakeEmpty();
    EXPECT_TRUE(o.list->FullListIsEmpty());
    EXPECT_EQ(o.list->CountItems(), 0);
}

TEST(ColumnListOutline, SubitemsShowWhileAllTheirSuperitemsAreExpanded) {
    OutlineList o;
    RecordingItem* a = o.Add(0, true, false, "a");
    RecordingItem* last = o.Add(0, false, false, "last");
    RecordingItem x(0, true, false);
    RecordingItem y;
    RecordingItem z;
    x.SetColumnContent(kName, "x");
    y.SetColumnContent(kName, "y");
    z.SetColumnContent(kName, "z");
    EXPECT_TRUE(o.list->AddUnder(&x, a));
    EXPECT_TRUE(o.list->AddUnder(&y, &x));
    EXPECT_TRUE(o.list->AddUnder(&z, a));
    EXPECT_EQ(Full(o), "a x y z last");
    EXPECT_EQ(Shown(o), "a last") << "under a collapsed superitem";
    EXPECT_EQ(y.OutlineLevel(), 2u);
    EXPECT_FALSE(o.list->AddUnder(&y, a)) << "already in the list";
    EXPECT_EQ(y.OutlineLevel(), 2u) << "a refusal changes nothing";
    RecordingItem stranger;
    EXPECT_FALSE(o.list->AddUnder(&stranger, &stranger)) << "superitem not in the list";

    o.list->Expand(a);
    EXPECT_EQ(Shown(o), "a x z last") << "y stays under collapsed x";
    o.list->Expand(&x);
    EXPECT_EQ(Shown(o), "a x y z last");
    o.list->Collapse(a);
    EXPECT_EQ(Shown(o), "a last");
    EXPECT_TRUE(x.IsExpanded()) << "x keeps its state under a";
    o.list->Expand(a);
    EXPECT_EQ(Shown(o), "a x y z last");

    EXPECT_EQ(o.list->Superitem(&y), &x);
    EXPECT_EQ(o.list->Superitem(&z), a);
    EXPECT_EQ(o.list->Superitem(a), nullptr);
    EXPECT_EQ(o.list->FullListNumberOfSubitems(a), 3);
    EXPECT_EQ(o.list->FullListNumberOfSubitems(last), 0);
    EXPECT_EQ(o.list->FullListNumberOfSubitems(&stranger), 0);
    EXPECT_TRUE(o.list->IsExpanded(1));
    EXPECT_FALSE(o.list->IsExpanded(4));
    EXPECT_FALSE(o.list->IsExpanded(5));

    // An item added by index shows when the row it will belong to is expanded and shown.
    RecordingItem w(1, false, false);
    w.SetColumnContent(kName, "w");
    EXPECT_TRUE(o.list->AddItem(&w, 3));
    EXPECT_EQ(Shown(o), "a x y w z last") << "w belongs to x";
    o.list->Select(3);
    EXPECT_EQ(o.list->FullListCurrentSelection(), 3);
    EXPECT_EQ(o.list->FullListIndexOf(kit::Point(30, o.list->ItemFrame(4).top)), 4);
    std::string visited;
    o.list->FullListDoForEach([&](CLVListItem* item) {
        visited += static_cast<CLVEasyItem*>(item)->GetColumnContentText(kName);
        return item == &y;
    });
    EXPECT_EQ(visited, "axy");
    o.list->MakeEmpty();
}

TEST(ColumnListOutline, HooksReachHiddenRowsToo) {
    OutlineList o;
    o.Add(0, true, false, "top");
    RecordingItem* hidden = o.Add(1, false, false, "hidden");
    o.name->SetWidth(100.0f);
    ASSERT_EQ(hidden->widths.size(), 1u);
    EXPECT_EQ(hidden->widths[0], std::make_pair(kName, 80.0f)) << "indented by 20, cut at the end";
    const int32_t order[] = {1, 0};
    o.list->SetDisplayOrder(order);
    ASSERT_EQ(hidden->frames.size(), 1u);
    EXPECT_EQ(hidden->frames[0], std::make_pair(kName, kNoRect));
}

TEST(ColumnListOutline, SortingSortsEachGroupOfSiblingsUnderItsSuperitem) {
    OutlineList o;
    o.Add(0, true, true, "m");
    o.Add(1, true, false, "z");
    o.Add(2, false, false, "q");
    o.Add(2, false, false, "b");
    o.Add(1, false, false, "c");
    RecordingItem* a = o.Add(0, true, false, "a");
    o.Add(1, false, false, "y");
    o.Add(1, false, false, "x");
    o.Add(0, false, false, "k");
    o.list->Select(1);
    o.list->SetSortFunction(CLVEasyItem::CompareItems);
    o.list->SetSortKey(kName);
    EXPECT_EQ(Full(o), "a x y k m c z b q");
    EXPECT_EQ(Shown(o), "a k m c z");
    EXPECT_EQ(o.list->CurrentSelection(), 4) << "the selection moves with its row";

    o.list->ReverseSortMode(kName);
    EXPECT_EQ(Full(o), "m z q b c k a y x");
    EXPECT_EQ(Shown(o), "m z c k a");
    o.list->Expand(a);
    EXPECT_EQ(Shown(o), "m z c k a y x");
}

TEST(ColumnListOutline, SortingKeepsEveryRowUnderItsOwnSuperitem) {
    // z (level 2) and m (level 1) both belong to a; m is collapsed.
    OutlineList o;
    RecordingItem* a = o.Add(0, true, true, "a");
    RecordingItem* z = o.Add(2, false, false, "z");
    RecordingItem* m = o.Add(1, true, false, "m");
    o.Add(2, false, false, "b");
    o.list->SetSortFunction(CLVEasyItem::CompareItems);
    o.list->SetSortKey(kName);
    EXPECT_EQ(Full(o), "a z m b") << "placed after m, z would belong to it";
    EXPECT_EQ(Shown(o), "a z m");
    EXPECT_EQ(o.list->Superitem(z), a);
    EXPECT_EQ(o.list->Superitem(m), a);
}

TEST(ColumnListOutline, ExpandingAndCollapsingRedrawTheArrowAtOnce) {
    OutlineList o;
    RecordingItem* top = o.Add(0, true, false, "top");
    o.Add(1, false, false, "child");
    o.container->show();
    QApplication::processEvents();
    top->drawnColumns.clear();
    o.list->Expand(top);
    EXPECT_EQ(top->drawnColumns, std::vector<int32_t>{0}) << "the expander cell, before events";
    top->drawnColumns.clear();
    o.list->Collapse(top);
    EXPECT_EQ(top->drawnColumns, std::vector<int32_t>{0});
}

TEST(ColumnListOutline, AFlatListHasNoFullList) {
    FileListLike f(3);
    EXPECT_TRUE(f.list->FullListIsEmpty());
    EXPECT_EQ(f.list->FullListIndexOf(f.items[0].get()), -1);
    EXPECT_EQ(f.list->Superitem(f.items[1].get()), nullptr);
    EXPECT_FALSE(f.list->AddUnder(f.items[1].get(), f.items[0].get()));
    f.list->Expand(f.items[0].get());
    EXPECT_EQ(f.list->CountItems(), 3);
    EXPECT_TRUE(f.list->RemoveItem(f.items[0].get()));
    EXPECT_EQ(f.list->CountItems(), 2);
}
