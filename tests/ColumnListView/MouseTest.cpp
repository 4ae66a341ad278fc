// SPDX-License-Identifier: GPL-3.0-or-later
#include "ListFixture.h"

#include <QApplication>
#include <QTest>
#include <gtest/gtest.h>

namespace {

std::vector<int32_t> Selection(const ColumnListView* list) {
    std::vector<int32_t> result;
    for (int32_t n = 0, i = 0; (i = list->CurrentSelection(n)) >= 0; n++) {
        result.push_back(i);
    }
    return result;
}

// Presses and releases the mouse on rows of a shown file-list-like list.
struct Mouse {
    explicit Mouse(FileListLike& list) : f(list) { f.Show(); }

    QPoint At(int32_t row, float x = 100.0f) const {
        return f.ListPixel(x, f.list->ItemFrame(row).top + 3.0f);
    }
    void Press(int32_t row, Qt::KeyboardModifiers mods = {}) const {
        QTest::mousePress(f.list, Qt::LeftButton, mods, At(row));
    }
    void Release(int32_t row, Qt::KeyboardModifiers mods = {}) const {
        QTest::mouseRelease(f.list, Qt::LeftButton, mods, At(row));
    }
    void Click(int32_t row, Qt::KeyboardModifiers mods = {}) const {
        Press(row, mods);
        Release(row, mods);
    }
    void DoubleClick(int32_t row) const {
        Click(row);
        QTest::mouseDClick(f.list, Qt::LeftButton, {}, At(row));
        Release(row);
        QApplication::processEvents();
    }
    void MoveTo(QPoint p) const { QTest::mouseMove(f.list, p); }

    FileListLike& f;
};

// Shows an outline of one expandable row with a child; returns the row and a point inside its
// arrow.
std::pair<RecordingItem*, QPoint> ShownRowWithArrow(OutlineList& o) {
    RecordingItem* top = o.Add(0, true, false, "top");
    o.Add(1, false, false, "child");
    o.container->show();
    QApplication::processEvents();
    const kit::Rect arrow = top->ExpanderButtonRect();
    EXPECT_TRUE(IsSet(arrow));
    return {top, QPoint(static_cast<int>(arrow.left) + 5, static_cast<int>(arrow.top) + 5)};
}

} // namespace

TEST(ColumnListMouse, ADragStartsOnlyAfterMoreThanFourPixels) {
    FileListLike f(10);
    const Mouse m(f);
    m.Press(2);
    const QPoint start = m.At(2);
    m.MoveTo(start + QPoint(4, 0));
    m.MoveTo(start + QPoint(-4, 4));
    EXPECT_TRUE(f.list->drags.empty()) << "exactly 4 pixels is still a click";
    m.MoveTo(start + QPoint(0, 5));
    ASSERT_EQ(f.list->drags.size(), 1u);
    EXPECT_EQ(f.list->drags[0].index, 2);
    EXPECT_EQ(f.ListPixel(f.list->drags[0].where.x, f.list->drags[0].where.y), start)
        << "the drag starts where the press was";
    m.MoveTo(start + QPoint(0, 30));
    EXPECT_EQ(f.list->drags.size(), 1u) << "one drag per press";
    m.Release(5);
}

TEST(ColumnListMouse, ShiftSelectsRangesAndCtrlToggles) {
    FileListLike f(20);
    const Mouse m(f);
    m.Click(5, Qt::ShiftModifier);
    EXPECT_EQ(Selection(f.list), std::vector<int32_t>{5}) << "nothing selected: the row alone";
    m.Click(8, Qt::ShiftModifier);
    EXPECT_EQ(Selection(f.list), (std::vector<int32_t>{5, 6, 7, 8}));
    m.Click(3, Qt::ShiftModifier);
    EXPECT_EQ(Selection(f.list), (std::vector<int32_t>{3, 4, 5, 6, 7, 8}));
    m.Click(12, Qt::ControlModifier);
    EXPECT_EQ(Selection(f.list), (std::vector<int32_t>{3, 4, 5, 6, 7, 8, 12}));
    m.Click(5, Qt::ControlModifier);
    EXPECT_EQ(Selection(f.list), (std::vector<int32_t>{3, 4, 6, 7, 8, 12}));
    m.Click(10, Qt::ShiftModifier);
    EXPECT_EQ(Selection(f.list), (std::vector<int32_t>{3, 4, 5, 6, 7, 8, 9, 10, 11, 12}))
        << "from the lowest to the highest selected row";

    // A plain press on a selected row keeps the selection for a drag and narrows it on release.
    m.Press(6);
    EXPECT_EQ(Selection(f.list).size(), 10u);
    m.Release(6);
    EXPECT_EQ(Selection(f.list), std::vector<int32_t>{6});

    // Below the last row: a plain click deselects, a modified one does not.
    const QPoint empty = f.ListPixel(100.0f, f.list->ItemsHeight() + 20.0f);
    QTest::mouseClick(f.list, Qt::LeftButton, Qt::ShiftModifier, empty);
    EXPECT_EQ(Selection(f.list), std::vector<int32_t>{6});
    QTest::mouseClick(f.list, Qt::LeftButton, {}, empty);
    EXPECT_TRUE(Selection(f.list).empty());
}

TEST(ColumnListMouse, ModifiersOnlyExtendMultipleSelections) {
    FileListLike f(10, kit::B_SINGLE_SELECTION_LIST);
    const Mouse m(f);
    m.Click(2);
    m.Click(6, Qt::ShiftModifier);
    EXPECT_EQ(Selection(f.list), std::vector<int32_t>{6});
    m.Click(4, Qt::ControlModifier);
    EXPECT_EQ(Selection(f.list), std::vector<int32_t>{4});
    QTest::mouseClick(f.list, Qt::RightButton, {}, m.At(1));
    EXPECT_EQ(Selection(f.list), std::vector<int32_t>{4}) << "other buttons do nothing";
}

TEST(ColumnListMouse, ADoubleClickInvokesOnlyOnARowThatWasSelected) {
    FileListLike f(10);
    f.list->SetInvocationMessage(new kit::Message(kit::FourCC("ReFE")));
    f.list->SetTarget(f.list);
    const Mouse m(f);
    m.DoubleClick(3);
    EXPECT_EQ(Selection(f.list), std::vector<int32_t>{3});
    EXPECT_TRUE(f.list->received.empty()) << "the first click selected the row";
    m.DoubleClick(3);
    ASSERT_EQ(f.list->received.size(), 1u);
    EXPECT_EQ(f.list->received[0].what, kit::FourCC("ReFE"));
    int32_t index = -1;
    EXPECT_EQ(f.list->received[0].Find("index", &index), kit::B_OK);
    EXPECT_EQ(index, 3);
}

TEST(ColumnListMouse, APressOnTheArrowExpandsOrCollapses) {
    OutlineList o;
    const auto [top, inside] = ShownRowWithArrow(o);
    QTest::mouseClick(o.list, Qt::LeftButton, {}, inside);
    EXPECT_TRUE(top->IsExpanded());
    EXPECT_FALSE(top->IsSelected()) << "the arrow does not select";
    QTest::mouseClick(o.list, Qt::LeftButton, {}, inside);
    EXPECT_FALSE(top->IsExpanded());
    QTest::mouseClick(o.list, Qt::LeftButton, {}, inside + QPoint(30, 0));
    EXPECT_TRUE(top->IsSelected());
}

TEST(ColumnListMouse, AHiddenArrowNeitherExpandsNorCollapses) {
    OutlineList o;
    const auto [top, inside] = ShownRowWithArrow(o);
    o.expander->SetShown(false);
    // Before the list repaints: the click goes by what the columns are now.
    QTest::mouseClick(o.list, Qt::LeftButton, {}, inside);
    EXPECT_FALSE(top->IsExpanded());
    EXPECT_TRUE(top->IsSelected());
    QApplication::processEvents();
    EXPECT_EQ(top->ExpanderButtonRect(), kNoRect) << "drawn without its arrow";
}
