// SPDX-License-Identifier: GPL-3.0-or-later
#include "ListFixture.h"

#include <QApplication>
#include <cmath>
#include <gtest/gtest.h>

namespace {

// A row whose user-text cells read "user-<column>", cut to "u" when narrower than 100 pixels.
class UserTextItem : public CLVEasyItem {
public:
    const char* GetUserText(int32_t column, float width) const override {
        text = "user-" + std::to_string(column);
        return width >= 0.0f && width < 100.0f ? "u" : text.c_str();
    }
    mutable std::string text;
};

const uint8_t kBits[4] = {0x00, 0x12, 0x00, 0xff};

} // namespace

TEST(CLVEasyItem, CellKindsAndTheirContent) {
    CLVEasyItem item;
    EXPECT_EQ(item.GetColumnContentText(3), nullptr) << "beyond the cells";
    item.SetColumnContent(2, "");
    EXPECT_EQ(item.CellKind(2), CELL_EMPTY);
    EXPECT_EQ(item.GetColumnContentText(2), nullptr);
    EXPECT_EQ(item.CellKind(0), CELL_EMPTY) << "cells before it exist, empty";

    item.SetColumnContent(1, "7", false, true);
    EXPECT_EQ(item.CellKind(1), CELL_TEXT | CELL_RIGHT_JUSTIFIED);
    item.SetColumnContent(2, "song.wav");
    EXPECT_EQ(item.CellKind(2), CELL_TRUNCATED_TEXT | CELL_TRUNCATION_PENDING);
    EXPECT_STREQ(item.GetColumnContentText(2), "song.wav");
    EXPECT_STREQ(item.TruncatedText(2), "song.wav");

    const kit::Bitmap bitmap(kit::Rect(0, 0, 2, 0), kBits);
    item.SetColumnContent(0, &bitmap, 2.7f, false);
    EXPECT_EQ(item.CellKind(0), CELL_BITMAP);
    EXPECT_EQ(item.GetColumnContentBitmap(0), &bitmap) << "not copied";
    EXPECT_EQ(item.GetColumnContentText(0), nullptr);
    item.SetColumnContent(0, &bitmap, -2.7f, true, true);
    EXPECT_EQ(item.CellKind(0), CELL_BITMAP | CELL_OWNS_BITMAP | CELL_RIGHT_JUSTIFIED);
    ASSERT_NE(item.GetColumnContentBitmap(0), &bitmap) << "copied";
    EXPECT_EQ(item.GetColumnContentBitmap(0)->IndexAt(1, 0), 0x12);
    item.SetColumnContent(0, static_cast<const kit::Bitmap*>(nullptr), 0.0f);
    EXPECT_EQ(item.CellKind(0), CELL_EMPTY) << "the copy is released with it";

    UserTextItem user;
    user.SetColumnUserTextContent(4, true);
    EXPECT_EQ(user.CellKind(4), CELL_TRUNCATED_USER_TEXT);
    EXPECT_STREQ(user.GetColumnContentText(4), "user-4") << "asked for the whole text";
}

TEST(CLVEasyItem, CompareItemsComparesTextsIgnoringCase) {
    CLVEasyItem apple;
    CLVEasyItem banana;
    CLVEasyItem empty;
    CLVEasyItem picture;
    apple.SetColumnContent(0, "apple");
    banana.SetColumnContent(0, "Banana", false);
    empty.SetColumnContent(0, "");
    const kit::Bitmap bitmap(kit::Rect(0, 0, 0, 0), kBits);
    picture.SetColumnContent(0, &bitmap, 0.0f, false);
    EXPECT_LT(CLVEasyItem::CompareItems(&apple, &banana, 0), 0);
    EXPECT_GT(CLVEasyItem::CompareItems(&banana, &apple, 0), 0);
    EXPECT_EQ(CLVEasyItem::CompareItems(&apple, &picture, 0), 0);
    EXPECT_EQ(CLVEasyItem::CompareItems(&empty, &apple, 0), 0);
    EXPECT_EQ(CLVEasyItem::CompareItems(&apple, &banana, 5), 0) << "no cells there";
}

TEST(CLVEasyItem, UpdateCentresTheTextInTheRow) {
    OutlineList o;
    auto tall = std::make_unique<RecordingItem>(0, false, false, 40.0f);
    o.list->AddItem(tall.get());
    kit::FontHeight h;
    o.list->GetFont().GetHeight(&h);
    const float ascent = std::ceil(h.ascent);
    EXPECT_FLOAT_EQ(tall->Height(), 40.0f) << "the minimum height";
    EXPECT_FLOAT_EQ(tall->TextOffset(), ascent + 0.5f * (40.0f - ascent - std::ceil(h.descent)));
    o.list->MakeEmpty();
}

TEST(CLVEasyItem, TruncationFollowsWidthChangesOnScreenAndWaitsOffScreen) {
    FileListLike f(60);
    f.Show();
    RecordingItem* visible = f.items[1].get();
    RecordingItem* below = f.items[55].get();
    ASSERT_TRUE(IsSet(visible->CellRect(4)));
    ASSERT_FALSE(IsSet(below->CellRect(4))) << "never drawn";
    EXPECT_STREQ(visible->TruncatedText(4), "/music/file-1.wav");

    f.list->ScrollTo(kit::Point(0, f.list->ItemFrame(50).top));
    QApplication::processEvents();
    ASSERT_TRUE(IsSet(below->CellRect(4)));
    f.list->ScrollTo(kit::Point(0, 0));
    QApplication::processEvents();

    // The Path To File column at its minimum width: its texts no longer fit.
    f.columns[4]->SetWidth(70.0f);
    const std::string shortened = visible->TruncatedText(4);
    EXPECT_EQ(shortened.substr(shortened.size() - 3), "...") << "on screen: at once";
    EXPECT_LE(f.list->GetFont().StringWidth(shortened.c_str()), 70.0f - 4.0f);
    EXPECT_FLOAT_EQ(visible->CellRect(4).Width(), 70.0f);
    EXPECT_STREQ(below->TruncatedText(4), "/music/file-55.wav") << "off screen: left for later";
    EXPECT_TRUE(below->CellKind(4) & CELL_TRUNCATION_PENDING);

    f.columns[3]->SetWidth(100.0f);
    EXPECT_FLOAT_EQ(visible->CellRect(4).left, f.columns[4]->ColumnStart())
        << "later cells move with a change";

    f.list->ScrollTo(kit::Point(0, f.list->ItemFrame(50).top));
    QApplication::processEvents();
    const std::string later = below->TruncatedText(4);
    EXPECT_EQ(later.substr(later.size() - 3), "...") << "recomputed when drawn";
    EXPECT_FALSE(below->CellKind(4) & CELL_TRUNCATION_PENDING);
}

TEST(CLVEasyItem, FrameChangesRetruncateCellsOnScreen) {
    FileListLike f(3);
    f.Show();
    RecordingItem* item = f.items[0].get();
    const kit::Rect drawn = item->CellRect(3);
    kit::Rect narrower = drawn;
    narrower.right = narrower.left + f.list->GetFont().StringWidth("sa...") + 4.5f;
    item->FrameChanged(3, narrower, f.list);
    EXPECT_EQ(item->CellRect(3), narrower);
    EXPECT_STREQ(item->TruncatedText(3), "sa...");
    item->FrameChanged(3, kNoRect, f.list);
    EXPECT_TRUE(item->CellKind(3) & CELL_TRUNCATION_PENDING) << "not visible: later";
}
