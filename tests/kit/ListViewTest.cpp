// SPDX-License-Identifier: GPL-3.0-or-later
#include "kit/ListView.h"

#include <QApplication>
#include <QTest>
#include <algorithm>
#include <gtest/gtest.h>
#include <memory>
#include <vector>

using namespace kit;

namespace {

// A row of a given height that paints itself grey when selected.
class Row : public ListItem {
public:
    explicit Row(float h) : wanted(h) {}
    void Update(View* /*owner*/, const Font& /*font*/) override { SetHeight(wanted); }
    void DrawItem(Painter& painter, View* /*owner*/, Rect frame, bool /*complete*/) override {
        drawn++;
        if (IsSelected()) {
            painter.SetHighColor(128, 128, 128);
            painter.FillRect(frame);
        }
    }
    float wanted;
    int drawn = 0;
};

class CountingList : public ListView {
public:
    using ListView::ListView;
    void SelectionChanged() override { selectionChanges++; }
    void MessageReceived(Message* message) override { received.push_back(*message); }
    int selectionChanges = 0;
    std::vector<Message> received;
};

struct Rows {
    explicit Rows(int count, list_view_type type = B_MULTIPLE_SELECTION_LIST, float height = 9)
        : list(type) {
        list.resize(100, 50);
        for (int i = 0; i < count; i++) {
            rows.push_back(std::make_unique<Row>(height));
            list.AddItem(rows.back().get());
        }
    }
    CountingList list;
    std::vector<std::unique_ptr<Row>> rows;
};

std::vector<int32_t> Selection(const ListView& list) {
    std::vector<int32_t> result;
    for (int32_t n = 0, i = 0; (i = list.CurrentSelection(n)) >= 0; n++) {
        result.push_back(i);
    }
    return result;
}

} // namespace

TEST(ListView, RowsStackWithOnePixelBetweenAndAreFoundByHeight) {
    Rows r(3, B_SINGLE_SELECTION_LIST, 9);
    r.rows.push_back(std::make_unique<Row>(19));
    r.list.AddItem(r.rows.back().get(), 1);

    EXPECT_EQ(r.list.ItemFrame(0), Rect(0, 0, 99, 9));
    EXPECT_EQ(r.list.ItemFrame(1), Rect(0, 10, 99, 29));
    EXPECT_EQ(r.list.ItemFrame(2), Rect(0, 30, 99, 39));
    EXPECT_FLOAT_EQ(r.list.ItemsHeight(), 49.0f);
    EXPECT_EQ(r.list.IndexOf(Point(5, 9.5f)), 0);
    EXPECT_EQ(r.list.IndexOf(Point(5, 10)), 1);
    EXPECT_EQ(r.list.IndexOf(Point(5, 49)), 3);
    EXPECT_EQ(r.list.IndexOf(Point(5, 50)), -1);
    EXPECT_EQ(r.list.IndexOf(Point(5, -1)), -1);

    EXPECT_TRUE(r.list.RemoveItems(0, 2));
    EXPECT_EQ(r.list.ItemFrame(0), Rect(0, 0, 99, 9));
    EXPECT_FLOAT_EQ(r.list.ItemsHeight(), 19.0f);
    EXPECT_FALSE(r.list.RemoveItems(1, 2)) << "range past the end";
    EXPECT_FALSE(r.list.AddItem(r.rows[0].get(), 5));
    EXPECT_FALSE(r.list.AddItem(nullptr));

    // Another font has the rows measured again.
    r.rows[1]->wanted = r.rows[2]->wanted = 14;
    QFont larger = r.list.font();
    larger.setPointSize(larger.pointSize() + 4);
    r.list.setFont(larger);
    EXPECT_EQ(r.list.ItemFrame(1), Rect(0, 15, 99, 29));
    EXPECT_FLOAT_EQ(r.list.ItemsHeight(), 29.0f);
    r.list.MakeEmpty();
    EXPECT_FLOAT_EQ(r.list.ItemsHeight(), 0.0f);
}

TEST(ListView, SingleSelectionKeepsOneRow) {
    Rows r(5, B_SINGLE_SELECTION_LIST);
    r.list.Select(1);
    r.list.Select(3, true);
    EXPECT_EQ(Selection(r.list), std::vector<int32_t>{3});
    r.list.Select(0, 4);
    EXPECT_EQ(Selection(r.list), std::vector<int32_t>{4});
    EXPECT_EQ(r.list.selectionChanges, 3);
    r.list.Select(4);
    EXPECT_EQ(r.list.selectionChanges, 3) << "no change, no report";
}

TEST(ListView, MultipleSelectionRangesExtendAndDeselect) {
    Rows r(8);
    r.list.Select(1, 3);
    r.list.Select(6, true);
    EXPECT_EQ(Selection(r.list), (std::vector<int32_t>{1, 2, 3, 6}));
    EXPECT_EQ(r.list.CurrentSelection(3), 6);
    EXPECT_EQ(r.list.CurrentSelection(4), -1);
    r.list.DeselectExcept(2, 6);
    EXPECT_EQ(Selection(r.list), (std::vector<int32_t>{2, 3, 6}));
    r.list.Deselect(3);
    EXPECT_FALSE(r.list.IsItemSelected(3));
    r.list.Select(5, 4, false);
    EXPECT_EQ(Selection(r.list), (std::vector<int32_t>{4, 5}));

    // Removing selected rows reports the change; the rest keep their state.
    r.list.selectionChanges = 0;
    EXPECT_EQ(r.list.RemoveItem(4), r.rows[4].get());
    EXPECT_EQ(Selection(r.list), std::vector<int32_t>{4});
    EXPECT_EQ(r.list.selectionChanges, 1);
    EXPECT_FALSE(r.rows[4]->IsSelected());
    r.list.DeselectAll();
    EXPECT_TRUE(Selection(r.list).empty());
}

TEST(ListView, KeyboardMovesAndExtendsTheSelection) {
    Rows r(20);
    r.list.show();
    r.list.Select(5);
    QTest::keyClick(&r.list, Qt::Key_Down);
    EXPECT_EQ(Selection(r.list), std::vector<int32_t>{6});
    QTest::keyClick(&r.list, Qt::Key_Down, Qt::ShiftModifier);
    QTest::keyClick(&r.list, Qt::Key_Down, Qt::ShiftModifier);
    EXPECT_EQ(Selection(r.list), (std::vector<int32_t>{6, 7, 8}));
    QTest::keyClick(&r.list, Qt::Key_Up, Qt::ShiftModifier);
    EXPECT_EQ(Selection(r.list), (std::vector<int32_t>{6, 7})) << "the anchor stays";
    QTest::keyClick(&r.list, Qt::Key_Up);
    EXPECT_EQ(Selection(r.list), std::vector<int32_t>{6});
    QTest::keyClick(&r.list, Qt::Key_End);
    EXPECT_EQ(Selection(r.list), std::vector<int32_t>{19});
    EXPECT_GE(r.list.Bounds().bottom, r.list.ItemFrame(19).bottom) << "scrolled into view";
    QTest::keyClick(&r.list, Qt::Key_Home, Qt::ShiftModifier);
    EXPECT_EQ(Selection(r.list).size(), 20u);
    QTest::keyClick(&r.list, Qt::Key_Home);
    EXPECT_EQ(r.list.Bounds().top, 0.0f);

    // A page is the visible height: 49 pixels, rows 10 pixels apart.
    QTest::keyClick(&r.list, Qt::Key_PageDown);
    EXPECT_EQ(Selection(r.list), std::vector<int32_t>{4});
    QTest::keyClick(&r.list, Qt::Key_PageUp);
    EXPECT_EQ(Selection(r.list), std::vector<int32_t>{0});
    QTest::keyClick(&r.list, Qt::Key_Up);
    EXPECT_EQ(Selection(r.list), std::vector<int32_t>{0}) << "stays at the first row";
}

TEST(ListView, SortingKeepsTheKeyboardPositionOnItsRow) {
    Rows r(5);
    r.list.show();
    r.list.Select(1);
    QTest::keyClick(&r.list, Qt::Key_Down, Qt::ShiftModifier);
    // Reversed: rows 1 and 2 are now rows 3 and 2; the anchor is on 3, the caret on 2.
    r.list.SortItems([&r](const ListItem* a, const ListItem* b) {
        const auto rank = [&r](const ListItem* item) {
            return std::find_if(r.rows.begin(), r.rows.end(),
                                [item](const auto& row) { return row.get() == item; }) -
                   r.rows.begin();
        };
        return static_cast<int>(rank(b) - rank(a));
    });
    EXPECT_EQ(Selection(r.list), (std::vector<int32_t>{2, 3}));
    QTest::keyClick(&r.list, Qt::Key_Up, Qt::ShiftModifier);
    EXPECT_EQ(Selection(r.list), (std::vector<int32_t>{1, 2, 3}));
}

TEST(ListView, InvocationPostsTheMessageWithTheSelectedRows) {
    Rows r(4);
    CountingList receiver;
    EXPECT_EQ(r.list.Invoke(), B_BAD_VALUE) << "no message, no target";
    r.list.SetInvocationMessage(new Message(FourCC("ReFE")));
    r.list.SetTarget(&receiver);
    r.list.Select(1, 2);
    EXPECT_EQ(r.list.Invoke(), B_OK);
    r.list.show();
    QTest::keyClick(&r.list, Qt::Key_Return);
    QApplication::processEvents();
    ASSERT_EQ(receiver.received.size(), 2u);
    EXPECT_EQ(receiver.received[0].what, FourCC("ReFE"));
    int32_t index = 0;
    EXPECT_EQ(receiver.received[0].Find("index", 1, &index), B_OK);
    EXPECT_EQ(index, 2);
}

TEST(ListView, SortingKeepsEqualRowsInOrder) {
    Rows r(0);
    const float heights[] = {3, 1, 2, 1, 3};
    for (float h : heights) {
        r.rows.push_back(std::make_unique<Row>(h));
        r.list.AddItem(r.rows.back().get());
    }
    r.list.SortItems([](const ListItem* a, const ListItem* b) {
        return static_cast<int>(a->Height() - b->Height());
    });
    const std::vector<ListItem*> expected = {r.rows[1].get(), r.rows[3].get(), r.rows[2].get(),
                                             r.rows[0].get(), r.rows[4].get()};
    for (int32_t i = 0; i < 5; i++) {
        EXPECT_EQ(r.list.ItemAt(i), expected[static_cast<size_t>(i)]) << i;
    }
    EXPECT_EQ(r.list.ItemFrame(2).top, 4.0f) << "tops follow the new order";
}

TEST(ListView, AnItemBelongsToOneListAtATime) {
    Rows r(6);
    auto other = std::make_unique<CountingList>();
    EXPECT_FALSE(other->AddItem(r.rows[2].get()));
    EXPECT_EQ(other->IndexOf(r.rows[2].get()), -1);
    EXPECT_FALSE(r.list.AddItem(r.rows[2].get())) << "not twice in one list either";
    Row fresh(9);
    const std::vector<ListItem*> twice{&fresh, &fresh};
    EXPECT_FALSE(r.list.AddList(twice, 0));
    EXPECT_EQ(r.list.CountItems(), 7) << "the first was added; the second refused";
    EXPECT_EQ(r.list.IndexOf(r.rows[2].get()), 3) << "numbered again after the insertion";
    EXPECT_TRUE(r.list.RemoveItems(0, 2));
    EXPECT_EQ(r.list.IndexOf(r.rows[2].get()), 1);
    EXPECT_EQ(r.list.IndexOf(r.rows[0].get()), -1);
    EXPECT_TRUE(other->AddItem(r.rows[0].get())) << "free once removed";
    EXPECT_TRUE(r.rows[0]->IsInList());
    other.reset();
    EXPECT_FALSE(r.rows[0]->IsInList()) << "and once its list is gone";
}

TEST(ListView, PaintingVisitsOnlyTheRowsInTheUpdateRegion) {
    Rows r(1000);
    r.list.ScrollTo(Point(0, 5000));
    QImage image(100, 50, QImage::Format_RGB32);
    r.list.render(&image, QPoint(), QRegion(0, 12, 100, 5));
    int drawnRows = 0;
    for (const auto& row : r.rows) {
        drawnRows += row->drawn;
    }
    EXPECT_EQ(drawnRows, 1) << "y 5012 ... 5016 lies in row 501 only";
    EXPECT_EQ(r.rows[501]->drawn, 1);
}
