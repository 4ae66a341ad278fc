// SPDX-License-Identifier: GPL-3.0-or-later
#include "ColumnListView/CLVColors.h"
#include "ListFixture.h"

#include <QApplication>
#include <QVBoxLayout>
#include <gtest/gtest.h>

namespace {

// A list whose visible bounds are 400 x 200 (401 x 201 pixels).
struct Scrolled {
    explicit Scrolled(bool horizontal = true, bool vertical = true, bool corner = true) {
        list = new RecordingList(kit::Rect(0, 0, 400, 300), &container, "Scrolled",
                                 kit::B_SINGLE_SELECTION_LIST, false, horizontal, vertical, corner);
        container->show();
        container->resize(container->width(), container->height() - list->height() + 201);
        QApplication::processEvents();
    }
    ~Scrolled() { delete container; }
    Scrolled(const Scrolled&) = delete;
    Scrolled& operator=(const Scrolled&) = delete;

    RecordingList* list = nullptr;
    CLVContainerView* container = nullptr;
};

struct Bar {
    explicit Bar(const kit::ScrollBar* bar) {
        bar->GetRange(&min, &max);
        bar->GetSteps(&smallStep, &bigStep);
        proportion = bar->Proportion();
    }
    float min = 0;
    float max = 0;
    float smallStep = 0;
    float bigStep = 0;
    float proportion = 0;
};

} // namespace

TEST(BetterScrollView, BarsFollowTheDataRectangle) {
    Scrolled s;
    ASSERT_FLOAT_EQ(s.list->Bounds().Width(), 400.0f);
    ASSERT_FLOAT_EQ(s.list->Bounds().Height(), 200.0f);
    s.container->SetDataRect(kit::Rect(0, 0, 1000, 100));
    const Bar h(s.container->GetScrollBar(kit::B_HORIZONTAL));
    EXPECT_FLOAT_EQ(h.smallStep, 20.0f);
    EXPECT_FLOAT_EQ(h.bigStep, 400.0f);
    EXPECT_FLOAT_EQ(h.proportion, 0.4f);
    EXPECT_FLOAT_EQ(h.min, 0.0f);
    EXPECT_FLOAT_EQ(h.max, 600.0f);
    const Bar v(s.container->GetScrollBar(kit::B_VERTICAL));
    EXPECT_FLOAT_EQ(v.max, 0.0f) << "data shorter than the view";
    EXPECT_GE(v.proportion, 1.0f);
    EXPECT_EQ(s.container->Corner()->ViewColor(), kLightCLVColors.face) << "one bar can scroll";

    s.container->SetDataRect(kit::Rect(0, 0, 300, 100));
    EXPECT_FLOAT_EQ(Bar(s.container->GetScrollBar(kit::B_HORIZONTAL)).max, 0.0f);
    EXPECT_EQ(s.container->Corner()->ViewColor(), kLightCLVColors.inactiveFace) << "neither bar can";
}

TEST(BetterScrollView, ShrinkingDataPullsTheViewBackOnlyWhenScrollingIsAllowed) {
    Scrolled s;
    s.container->SetDataRect(kit::Rect(0, 0, 300, 2000));
    s.list->ScrollTo(kit::Point(0, 1800));
    EXPECT_FLOAT_EQ(s.container->GetScrollBar(kit::B_VERTICAL)->Value(), 1800.0f);

    s.container->SetDataRect(kit::Rect(0, 0, 300, 1000), false);
    EXPECT_FLOAT_EQ(s.list->Bounds().top, 1800.0f) << "the view stays";
    EXPECT_FLOAT_EQ(Bar(s.container->GetScrollBar(kit::B_VERTICAL)).max, 1800.0f)
        << "the range includes where it is";

    s.container->SetDataRect(kit::Rect(0, 0, 300, 1000), true);
    EXPECT_FLOAT_EQ(s.list->Bounds().bottom, 1000.0f) << "its bottom meets the data's";
    EXPECT_FLOAT_EQ(Bar(s.container->GetScrollBar(kit::B_VERTICAL)).max, 800.0f);

    s.container->SetDataRect(kit::Rect(0, 0, 300, 50), true);
    EXPECT_FLOAT_EQ(s.list->Bounds().top, 0.0f) << "short data: its top meets the data's";
}

TEST(BetterScrollView, ACornerOnlyBetweenTwoBars) {
    EXPECT_NE(Scrolled(true, true, true).container->Corner(), nullptr);
    EXPECT_EQ(Scrolled(true, false, true).container->Corner(), nullptr);
    EXPECT_EQ(Scrolled(false, true, true).container->Corner(), nullptr);
    EXPECT_EQ(Scrolled(true, true, false).container->Corner(), nullptr);
}

TEST(CLVContainerView, TakesItsPlaceInALayoutWithTheHintsHandedToIt) {
    QWidget window;
    auto* layout = new QVBoxLayout(&window);
    FileListLike f(5);
    f.container->SetLayoutPrefs(kit::Minimax{-1.0f, 120.0f, 5000.0f, 5000.0f, 1.0f});
    layout->addWidget(f.container);
    window.resize(300, 60);
    window.show();
    QApplication::processEvents();
    EXPECT_EQ(f.container->minimumHeight(), 120);
    EXPECT_GE(window.height(), 120) << "the layout keeps the minimum";
    EXPECT_EQ(f.container->maximumSize(), QSize(5000, 5000));
    EXPECT_EQ(f.container->LayoutPrefs().minHeight, 120.0f);

    window.resize(600, 500);
    QApplication::processEvents();
    EXPECT_GT(f.container->width(), 500);
    EXPECT_GT(f.list->width(), 450) << "the list follows its container";
    EXPECT_EQ(f.list->Header()->width(), f.list->width());
}
