// SPDX-License-Identifier: GPL-3.0-or-later
#include "kit/View.h"

#include "kit/ScrollView.h"

#include <QApplication>
#include <QTest>
#include <QWheelEvent>
#include <gtest/gtest.h>
#include <vector>

using namespace kit;

namespace {

class Recorder : public View {
public:
    void MouseDown(const MouseEvent& event) override { downs.push_back(event); }
    std::vector<MouseEvent> downs;
};

} // namespace

TEST(View, MousePositionsAreInViewCoordinatesAfterScrolling) {
    Recorder view;
    view.resize(50, 50);
    view.show();
    view.ScrollTo(Point(100, 30));
    EXPECT_EQ(view.Bounds(), Rect(100, 30, 149, 79));
    QTest::mousePress(&view, Qt::LeftButton, Qt::ShiftModifier | Qt::ControlModifier, QPoint(5, 6));
    ASSERT_EQ(view.downs.size(), 1u);
    EXPECT_EQ(view.downs[0].where, Point(105, 36));
    EXPECT_EQ(view.downs[0].buttons, B_PRIMARY_MOUSE_BUTTON);
    EXPECT_EQ(view.downs[0].modifiers & (B_SHIFT_KEY | B_OPTION_KEY), B_SHIFT_KEY | B_OPTION_KEY);
    QTest::mouseRelease(&view, Qt::LeftButton, {}, QPoint(5, 6));
}

TEST(View, ClicksCountPressesInQuickSuccession) {
    Recorder view;
    view.resize(50, 50);
    view.show();
    // Separate clicks (the test clock jumps past the double-click time after a release).
    QTest::mouseClick(&view, Qt::LeftButton, {}, QPoint(5, 5));
    QTest::mouseClick(&view, Qt::LeftButton, {}, QPoint(5, 5));
    // A double click: press, release, then the double-click report.
    QTest::mousePress(&view, Qt::LeftButton, {}, QPoint(5, 5));
    QTest::mouseRelease(&view, Qt::LeftButton, {}, QPoint(5, 5));
    QTest::mouseDClick(&view, Qt::LeftButton, {}, QPoint(5, 5));
    ASSERT_EQ(view.downs.size(), 4u);
    EXPECT_EQ(view.downs[0].clicks, 1);
    EXPECT_EQ(view.downs[1].clicks, 1);
    EXPECT_EQ(view.downs[2].clicks, 1);
    EXPECT_EQ(view.downs[3].clicks, 2);
}

TEST(ScrollView, LaysOutTheTargetHeaderBarsAndAWidgetBesideTheBar) {
    auto* target = new View;
    target->setGeometry(10, 10, 200, 100);
    ScrollView scroll(target, true, true, B_FANCY_BORDER);
    EXPECT_EQ(scroll.geometry(), QRect(8, 8, 200 + 4 + 15, 100 + 4 + 15));
    EXPECT_EQ(target->geometry(), QRect(2, 2, 200, 100));

    auto* header = new QWidget;
    header->resize(10, 18);
    scroll.SetTargetHeader(header);
    EXPECT_EQ(header->geometry(), QRect(2, 2, 200, 18));
    EXPECT_EQ(target->geometry(), QRect(2, 20, 200, 82));

    auto* beside = new QWidget;
    scroll.PlaceBesideHorizontalBar(beside, 53);
    ScrollBar* bar = scroll.GetScrollBar(B_HORIZONTAL);
    EXPECT_EQ(beside->geometry(), QRect(2, 102, 53, 15));
    EXPECT_EQ(bar->geometry(), QRect(55, 102, 200 - 53, 15));
    EXPECT_EQ(scroll.GetScrollBar(B_VERTICAL)->geometry(), QRect(202, 2, 15, 100));

    scroll.show();
    scroll.resize(300, 200);
    EXPECT_EQ(target->geometry(), QRect(2, 20, 300 - 4 - 15, 200 - 4 - 15 - 18));
}

TEST(ScrollView, BarsScrollTheTargetAndFollowIt) {
    auto* target = new View;
    target->resize(100, 100);
    ScrollView scroll(target, true, true, B_NO_BORDER);
    ScrollBar* v = scroll.GetScrollBar(B_VERTICAL);
    v->SetRange(0, 500);
    v->SetValue(120);
    EXPECT_EQ(target->Bounds().top, 120.0f);
    target->ScrollTo(Point(0, 300));
    EXPECT_EQ(v->Value(), 300.0f);
    v->SetRange(0, 200);
    EXPECT_EQ(target->Bounds().top, 200.0f) << "a smaller range pulls the target in";
}

TEST(ScrollView, TheWheelOverTheTargetScrollsIt) {
    auto* target = new View;
    target->resize(100, 100);
    ScrollView scroll(target, true, true, B_NO_BORDER);
    scroll.show();
    scroll.GetScrollBar(B_VERTICAL)->SetRange(0, 500);
    scroll.GetScrollBar(B_VERTICAL)->SetSteps(10, 100);
    QWheelEvent down(QPointF(50, 50), target->mapToGlobal(QPointF(50, 50)), QPoint(),
                     QPoint(0, -120), Qt::NoButton, Qt::NoModifier, Qt::NoScrollPhase, false);
    QApplication::sendEvent(target, &down);
    const float top = target->Bounds().top;
    EXPECT_GT(top, 0.0f);
    EXPECT_EQ(target->Bounds().left, 0.0f);
    // Over the scroll view's own parts (a header, the border) too.
    QApplication::sendEvent(&scroll, &down);
    EXPECT_GT(target->Bounds().top, top);
}
