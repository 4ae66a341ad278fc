// SPDX-License-Identifier: GPL-3.0-or-later
#include "ListFixture.h"

#include <gtest/gtest.h>

TEST(CLVColumn, ConstructorRules) {
    const CLVColumn expander("ignored", 100.0f,
                             CLV_COL_EXPANDER | CLV_COL_SORTABLE | CLV_COL_PIN_LEFT, 50.0f);
    EXPECT_EQ(expander.GetLabel(), nullptr);
    EXPECT_FLOAT_EQ(expander.Width(), 20.0f);
    EXPECT_FLOAT_EQ(expander.MinWidth(), 20.0f);
    EXPECT_EQ(expander.Flags(),
              CLV_COL_EXPANDER | CLV_COL_PIN_LEFT | CLV_COL_JOIN_HEADER | CLV_COL_FIXED_WIDTH);

    const CLVColumn tiny("x", 2.0f, 0, 1.0f);
    EXPECT_FLOAT_EQ(tiny.MinWidth(), 4.0f);
    EXPECT_FLOAT_EQ(tiny.Width(), 4.0f);
    const CLVColumn raised("x", 10.0f, 0, 50.0f);
    EXPECT_FLOAT_EQ(raised.Width(), 50.0f);

    const CLVColumn labelled("Track", 50.0f);
    EXPECT_STREQ(labelled.GetLabel(), "Track");
    EXPECT_EQ(labelled.HeaderRect(), kNoRect);
    EXPECT_EQ(labelled.SortMode(), CLVSortNone);
    EXPECT_EQ(labelled.GetParent(), nullptr);
    EXPECT_EQ(labelled.GetHeaderView(), nullptr);
    const CLVColumn unlabelled(nullptr, 16.0f);
    EXPECT_EQ(unlabelled.HeaderRect(), kit::Rect(0, 0, -1, -1));
}

TEST(CLVColumn, UnattachedColumnsOnlyStoreTheirState) {
    CLVColumn column("Name", 100.0f, CLV_COL_SORTABLE, 30.0f);
    column.SetWidth(10.0f);
    EXPECT_FLOAT_EQ(column.Width(), 30.0f);
    column.SetShown(false);
    EXPECT_FALSE(column.IsShown());
    EXPECT_TRUE(column.Flags() & CLV_COL_HIDDEN);
    column.SetSortMode(CLVSortDescending);
    EXPECT_EQ(column.SortMode(), CLVSortDescending);
    EXPECT_EQ(column.TruncateText(5.0f), kNoRect);
}

TEST(CLVColumn, SetWidthMovesLaterColumnsAndTellsTheList) {
    FileListLike f(3);
    CLVColumn* track = f.columns[1];
    track->SetWidth(20.0f);
    EXPECT_FLOAT_EQ(track->Width(), 50.0f) << "raised to the minimum: no change";
    EXPECT_TRUE(f.list->widthChanges.empty()) << "no change, no hook";

    track->SetWidth(80.0f);
    ASSERT_EQ(f.list->widthChanges.size(), 1u);
    EXPECT_EQ(f.list->widthChanges[0], std::make_pair(1, 80.0f));
    EXPECT_FLOAT_EQ(f.columns[2]->ColumnStart(), 17.0f + 81.0f);
    EXPECT_FLOAT_EQ(f.container->GetDataRect().right, 520.0f + 30.0f);
    EXPECT_TRUE(f.items[0]->widths.empty()) << "the Track column does not notify items";

    f.columns[2]->SetWidth(100.0f);
    ASSERT_EQ(f.items[2]->widths.size(), 1u);
    EXPECT_EQ(f.items[2]->widths[0], std::make_pair(2, 100.0f));

    f.columns[3]->SetShown(false);
    f.columns[3]->SetWidth(120.0f);
    EXPECT_EQ(f.list->widthChanges.back(), std::make_pair(3, 120.0f)) << "hidden columns too";
}

TEST(CLVColumn, HiddenColumnsLeaveTheLayoutAndTheExpanderIndexFollows) {
    OutlineList o;
    EXPECT_EQ(o.list->ExpanderIndex(), 0);
    o.expander->SetShown(false);
    EXPECT_EQ(o.list->ExpanderIndex(), -1);
    EXPECT_FLOAT_EQ(o.name->ColumnStart(), 0.0f);
    EXPECT_FALSE(o.name->IsIndented()) << "nothing to indent after a hidden expander";
    o.expander->SetShown(true);
    EXPECT_EQ(o.list->ExpanderIndex(), 0);
    EXPECT_FLOAT_EQ(o.name->ColumnStart(), 21.0f);
    EXPECT_TRUE(o.name->IsIndented());
}

TEST(CLVColumn, LabelsTruncateInTheHeaderFont) {
    FileListLike f(0);
    auto* column = new CLVColumn("Path To File", 200.0f, CLV_COL_TRUNCATE_LABEL, 20.0f);
    f.list->AddColumn(column);
    f.list->SetDisplayOrder(std::vector<int32_t>{5, 0, 1, 2, 3, 4}.data());
    f.Show();
    EXPECT_STREQ(column->TruncatedLabel(), "Path To File") << "a label that fits is unchanged";
    const kit::Rect drawnAt = column->HeaderRect();
    ASSERT_TRUE(IsSet(drawnAt));

    const kit::Font& font = f.list->Header()->GetFont();
    const float narrow = font.StringWidth("Path T...") + 15.0f + 0.5f;
    column->SetWidth(narrow);
    EXPECT_STREQ(column->TruncatedLabel(), "Path T...");
    EXPECT_FLOAT_EQ(column->HeaderRect().right, drawnAt.right + narrow - 200.0f);
    EXPECT_EQ(column->TruncateText(narrow), kNoRect) << "unchanged: nothing to redraw";

    const kit::Rect changed = column->TruncateText(font.StringWidth("Path...") + 15.0f + 0.5f);
    EXPECT_STREQ(column->TruncatedLabel(), "Path...");
    EXPECT_FLOAT_EQ(changed.left, column->HeaderRect().left + 8.0f + font.StringWidth("Path"))
        << "redraw from where the labels differ";
}
