// SPDX-License-Identifier: GPL-3.0-or-later
#include "ColumnListView/CLVGeometry.h"
#include "ListFixture.h"

#include <gtest/gtest.h>
#include <memory>

namespace {

// A, hidden B, the expander, C (passes the indentation on), D, E.
struct Columns {
    Columns() {
        b.SetShown(false);
        order = {&a, &b, &expander, &c, &d, &e};
        dataWidth = LayOutColumns(order);
    }
    CLVColumn a{"A", 30.0f};
    CLVColumn b{"B", 40.0f};
    CLVColumn expander{nullptr, 0.0f, CLV_COL_EXPANDER};
    CLVColumn c{"C", 50.0f, CLV_COL_PASS_INDENT};
    CLVColumn d{"D", 60.0f};
    CLVColumn e{"E", 70.0f};
    std::vector<CLVColumn*> order;
    float dataWidth;
};

} // namespace

TEST(ColumnGeometry, ShownColumnsLieSideBySideAndIndentationPassesOn) {
    const Columns k;
    EXPECT_FLOAT_EQ(k.a.ColumnStart(), 0.0f);
    EXPECT_FLOAT_EQ(k.a.ColumnEnd(), 30.0f);
    EXPECT_FLOAT_EQ(k.expander.ColumnStart(), 31.0f) << "the hidden column takes no room";
    EXPECT_FLOAT_EQ(k.expander.ColumnEnd(), 51.0f);
    EXPECT_FLOAT_EQ(k.c.ColumnStart(), 52.0f);
    EXPECT_FLOAT_EQ(k.d.ColumnStart(), 103.0f);
    EXPECT_FLOAT_EQ(k.e.ColumnEnd(), 234.0f);
    EXPECT_FLOAT_EQ(k.dataWidth, 234.0f);
    EXPECT_FALSE(k.a.IsIndented());
    EXPECT_FALSE(k.expander.IsIndented());
    EXPECT_TRUE(k.c.IsIndented());
    EXPECT_TRUE(k.d.IsIndented()) << "C passes the indentation on";
    EXPECT_FALSE(k.e.IsIndented()) << "D does not";
    EXPECT_FLOAT_EQ(IndentationLimit(k.order, 999.0f), 163.0f);

    std::vector<CLVColumn*> hidden = {k.order[1]};
    EXPECT_FLOAT_EQ(LayOutColumns(hidden), 0.0f) << "no shown column, no width";
    EXPECT_FLOAT_EQ(IndentationLimit(hidden, 999.0f), 999.0f);
}

TEST(ColumnGeometry, CellsShiftByTheIndentationUpToTheLimit) {
    const Columns k;
    const float limit = IndentationLimit(k.order, 999.0f);
    const auto cell = [&](const CLVColumn& column, float indent) {
        return ColumnCellFrame(column, indent, limit, 10.0f, 25.0f);
    };
    EXPECT_EQ(cell(k.expander, 40.0f), kit::Rect(31, 10, 91, 25));
    EXPECT_EQ(cell(k.c, 40.0f), kit::Rect(92, 10, 142, 25));
    EXPECT_EQ(cell(k.d, 40.0f), kit::Rect(143, 10, 163, 25)) << "cut at the limit";
    EXPECT_EQ(cell(k.e, 40.0f), kit::Rect(164, 10, 234, 25)) << "not indented";
    EXPECT_EQ(cell(k.expander, 0.0f), kit::Rect(31, 10, 51, 25));
    EXPECT_EQ(cell(k.c, 0.0f), kit::Rect(52, 10, 102, 25));
    const kit::Rect pushedOut = cell(k.d, 80.0f);
    EXPECT_GT(pushedOut.left, pushedOut.right) << "an indentation past the limit empties it";
    EXPECT_EQ(cell(k.expander, 200.0f).right, 163.0f);
}

TEST(ColumnGeometry, TheArrowStandsThreePixelsLeftOfTheIndentedEnd) {
    const kit::Rect level0 = ExpanderArrowRect(kit::Rect(31, 0, 51, 16), 51.0f, 0.0f);
    EXPECT_EQ(level0, kit::Rect(38, 3, 48, 13)) << "end - 13 to end - 3, centred";
    const kit::Rect level2 = ExpanderArrowRect(kit::Rect(31, 0, 91, 16), 51.0f, 40.0f);
    EXPECT_EQ(level2, level0.OffsetByCopy(40, 0));
    EXPECT_EQ(ExpanderArrowRect(kit::Rect(31, 0, 51, 16), 51.0f, 40.0f), kNoRect)
        << "deeper rows of a lone expander column show no arrow";
    EXPECT_EQ(ExpanderArrowRect(kit::Rect(31, 0, 65, 16), 51.0f, 20.0f), kit::Rect(58, 3, 65, 13))
        << "cut at the cell's edge";
}

TEST(ColumnGeometry, ItemFramesComeFromTheRowAndTheColumn) {
    OutlineList o;
    RecordingItem* top = o.Add(0, true, true, "top");
    RecordingItem* child = o.Add(1, false, false, "child");
    const kit::Rect row1 = o.list->ItemFrame(1);
    EXPECT_EQ(child->ItemColumnFrame(0, o.list), kit::Rect(0, row1.top, 40, row1.bottom));
    EXPECT_EQ(child->ItemColumnFrame(1, o.list), kit::Rect(41, row1.top, 171, row1.bottom))
        << "the limit is the Name column's end";
    EXPECT_FLOAT_EQ(child->ExpanderShift(1, o.list), 20.0f);
    EXPECT_FLOAT_EQ(top->ExpanderShift(1, o.list), 0.0f);
    EXPECT_EQ(top->ItemColumnFrame(5, o.list), kNoRect) << "no such column";

    RecordingItem stranger;
    EXPECT_EQ(stranger.ItemColumnFrame(1, o.list), kNoRect) << "not in the list";
    o.name->SetShown(false);
    EXPECT_EQ(top->ItemColumnFrame(1, o.list), kNoRect) << "hidden column";
    EXPECT_EQ(child->ItemColumnFrame(0, o.list), kit::Rect(0, row1.top, 20, row1.bottom))
        << "the expander column is its own limit now";
}

TEST(ColumnGeometry, AnEmptyListHasNoDataHeight) {
    FileListLike f(0);
    EXPECT_EQ(f.container->GetDataRect(), kit::Rect(0, 0, 520, 0));
    f.AddRows(2);
    const float rowHeight = f.items[0]->Height();
    EXPECT_EQ(f.container->GetDataRect(), kit::Rect(0, 0, 520, 2 * rowHeight + 1));
}
