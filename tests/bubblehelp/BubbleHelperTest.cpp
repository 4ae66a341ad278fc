// SPDX-License-Identifier: GPL-3.0-or-later
#include "bubblehelp/BubbleHelper.h"

#include "support/WidgetTestSetup.h"

#include <QAccessible>
#include <QTest>
#include <gtest/gtest.h>

namespace {

// The test's pointer, buttons, screen and ticks; widgets are found in the real offscreen windows.
class FakeDesktop : public BubbleDesktop {
public:
    void StartTicking(std::function<void()> onTick) override { tick = std::move(onTick); }
    void PauseTicking() override { paused = true; }
    QPoint PointerPosition() const override { return pointer; }
    bool ButtonsDown() const override { return buttons; }
    QRect ScreenFrame(QPoint /*position*/) const override { return screen; }

    std::function<void()> tick;
    QPoint pointer{-1, -1};
    bool buttons = false;
    bool paused = false;
    QRect screen{0, 0, 800, 600};
};

class BubbleHelperTest : public ::testing::Test {
protected:
    void SetUp() override {
        window.setGeometry(100, 100, 300, 200);
        parent->setGeometry(10, 10, 200, 150);
        child->setGeometry(10, 10, 80, 40);
        window.show();
        ASSERT_TRUE(QTest::qWaitForWindowExposed(&window));
    }
    void Tick(int times = 1) {
        for (int i = 0; i < times; ++i) {
            desktop->tick();
        }
    }
    bool Shown() const { return helper.Bubble()->isVisible(); }
    // Moves the pointer onto the widget and polls as often as a bubble needs to open: once to
    // see the pointer arrive, then seven times finding it resting.
    void RestOver(QWidget* view, QPoint at = {5, 5}) {
        desktop->pointer = view->mapToGlobal(at);
        Tick(8);
    }
    // Polls until the bubble closes; how many polls it stayed open.
    int PollsShown() {
        int polls = 0;
        for (; Shown() && polls < 1000; ++polls) {
            Tick();
        }
        return polls;
    }

    QWidget window;
    QWidget* parent = new QWidget(&window);
    QWidget* child = new QWidget(parent);
    FakeDesktop* desktop = new FakeDesktop;
    BubbleHelper helper{nullptr, std::unique_ptr<BubbleDesktop>(desktop)};
};

} // namespace

TEST_F(BubbleHelperTest, OpensAfterARestAndStaysATenthPerByteAtLeastTwoSeconds) {
    int round = 0;
    for (const auto& [text, polls] :
         {std::pair{QStringLiteral("Stop!"), 21}, std::pair{QString(50, QLatin1Char('x')), 51}}) {
        helper.SetHelp(child, text);
        desktop->pointer = child->mapToGlobal(QPoint(5, 5 + ++round));
        Tick(7);
        EXPECT_FALSE(Shown());
        Tick();
        ASSERT_TRUE(Shown());
        EXPECT_EQ(helper.Bubble()->Text(), text);
        EXPECT_EQ(PollsShown(), polls);
    }
}

TEST_F(BubbleHelperTest, TheNearestHelpUpTheParentsShowsAndSetHelpReplaces) {
    helper.SetHelp(parent, QStringLiteral("parent"));
    RestOver(child);
    EXPECT_EQ(helper.Bubble()->Text(), QStringLiteral("parent"));
    PollsShown();

    helper.SetHelp(child, QStringLiteral("first"));
    helper.SetHelp(child, QStringLiteral("child"));
    helper.SetHelp(nullptr, QStringLiteral("nobody's"));
    RestOver(child, {6, 6});
    EXPECT_EQ(helper.Bubble()->Text(), QStringLiteral("child"));
    helper.SetHelp(child, QString());
    EXPECT_TRUE(helper.GetHelp(child).isNull());
}

// Screen readers read a control's help as its description, and the bubble as a tooltip with the
// text it shows.
TEST_F(BubbleHelperTest, ScreenReadersTellTheHelpAndTheBubble) {
    const auto description = [](QWidget* view) {
        return QAccessible::queryAccessibleInterface(view)->text(QAccessible::Description);
    };
    helper.SetHelp(child, QStringLiteral("first"));
    helper.SetHelp(child, QStringLiteral("Drag wav files here."));
    EXPECT_EQ(description(child), QStringLiteral("Drag wav files here."));
    RestOver(child);
    ASSERT_TRUE(Shown());
    QAccessibleInterface* bubble = QAccessible::queryAccessibleInterface(helper.Bubble());
    EXPECT_EQ(bubble->role(), QAccessible::ToolTip);
    EXPECT_EQ(bubble->text(QAccessible::Name), QStringLiteral("Drag wav files here."));
    helper.SetHelp(child, QString());
    EXPECT_TRUE(description(child).isEmpty());

    parent->setAccessibleDescription(QStringLiteral("its own"));
    helper.SetHelp(parent, QStringLiteral("help"));
    EXPECT_EQ(description(parent), QStringLiteral("its own")) << "not the helper's to change";
}

TEST_F(BubbleHelperTest, AProviderAnswersForItsPartsBeforeTheTexts) {
    helper.SetHelp(parent, QStringLiteral("parent"));
    helper.SetHelp(child, QStringLiteral("child"));
    // The child's left half has help of its own; elsewhere the provider has nothing to say.
    helper.SetHelpProvider(child, [](QPoint where) {
        return where.x() < 40 ? QStringLiteral("left at %1").arg(where.y()) : QString();
    });
    RestOver(child, {5, 9});
    EXPECT_EQ(helper.Bubble()->Text(), QStringLiteral("left at 9"));
    PollsShown();
    RestOver(child, {60, 9});
    EXPECT_EQ(helper.Bubble()->Text(), QStringLiteral("child"));
    PollsShown();

    helper.SetHelpProvider(child, nullptr);
    RestOver(child, {6, 9});
    EXPECT_EQ(helper.Bubble()->Text(), QStringLiteral("child"));
    EXPECT_EQ(helper.FindHelp(child), QStringLiteral("child"));
}

TEST_F(BubbleHelperTest, MovingOrAButtonClosesItAndOnlyAMoveBringsItBack) {
    helper.SetHelp(child, QStringLiteral("help"));
    RestOver(child);
    PollsShown();
    Tick(100);
    EXPECT_FALSE(Shown()) << "the pointer has not moved";
    desktop->pointer += QPoint(1, 0);
    Tick(8);
    ASSERT_TRUE(Shown()) << "moved one pixel and rested";

    desktop->pointer += QPoint(0, 1);
    Tick();
    EXPECT_FALSE(Shown()) << "moved";
    RestOver(child, {7, 7});
    desktop->buttons = true;
    Tick();
    EXPECT_FALSE(Shown()) << "a button went down";
    RestOver(child, {8, 8});
    Tick(20);
    EXPECT_FALSE(Shown()) << "a button is held down";
}

TEST_F(BubbleHelperTest, HiddenCoveredOrDeletedViewsShowNothing) {
    helper.SetHelp(child, QStringLiteral("child"));
    child->hide();
    RestOver(parent, child->geometry().topLeft() + QPoint(5, 5));
    EXPECT_FALSE(Shown()) << "hidden";

    child->show();
    auto* cover = new QWidget(parent);
    cover->setGeometry(child->geometry());
    cover->show();
    RestOver(child, {6, 6});
    EXPECT_FALSE(Shown()) << "covered by a sibling";
    delete cover;
    RestOver(child, {7, 7});
    EXPECT_TRUE(Shown()) << "uncovered";

    PollsShown();
    delete child;
    RestOver(parent, {20, 20});
    EXPECT_FALSE(Shown()) << "deleted";
}

TEST_F(BubbleHelperTest, LinesSizeTheBubbleWhichStaysOnTheScreen) {
    auto sizeFor = [this](const QString& text) {
        helper.SetHelp(child, text);
        desktop->pointer = {};
        Tick();
        RestOver(child);
        const QSize size = helper.Bubble()->size();
        PollsShown();
        return size;
    };
    const QSize one = sizeFor(QStringLiteral("the widest line of them"));
    const QSize two = sizeFor(QStringLiteral("short\nthe widest line of them"));
    const QSize three = sizeFor(QStringLiteral("short\nthe widest line of them\nmiddling"));
    EXPECT_EQ(three.width(), one.width());
    EXPECT_GT(two.height(), one.height());
    EXPECT_EQ(three.height() - two.height(), two.height() - one.height());

    const QPoint pointer = child->mapToGlobal(QPoint(9, 9));
    desktop->screen = QRect(QPoint(0, 0), pointer + QPoint(20, 20));
    RestOver(child, {9, 9});
    EXPECT_EQ(helper.Bubble()->geometry().right(), desktop->screen.right());
    EXPECT_EQ(helper.Bubble()->geometry().bottom(), pointer.y() - 4);
    const QImage picture = SaveScreenshot(helper.Bubble(), QStringLiteral("bubble"));
    EXPECT_EQ(picture.pixelColor(0, 0), QColor(240, 240, 100));
    int dark = 0;
    for (int y = 0; y < picture.height(); ++y) {
        for (int x = 0; x < picture.width(); ++x) {
            dark += picture.pixelColor(x, y).lightness() < 64 ? 1 : 0;
        }
    }
    EXPECT_GT(dark, 50) << "black text";
}

TEST_F(BubbleHelperTest, DisabledHelpShowsNoBubble) {
    helper.SetHelp(child, QStringLiteral("help"));
    RestOver(child);
    helper.EnableHelp(false);
    EXPECT_FALSE(Shown());
    RestOver(child, {6, 6});
    EXPECT_FALSE(Shown());
    helper.EnableHelp(true);
    RestOver(child, {7, 7});
    EXPECT_TRUE(Shown());
}

TEST_F(BubbleHelperTest, ASecondInstanceReportsTheErrorAndDoesNothing) {
    static QStringList critical;
    const QtMessageHandler previous = qInstallMessageHandler(
        [](QtMsgType type, const QMessageLogContext& /*context*/, const QString& text) {
            if (type == QtCriticalMsg) {
                critical << text;
            }
        });
    auto* second = new FakeDesktop;
    const BubbleHelper another(nullptr, std::unique_ptr<BubbleDesktop>(second));
    qInstallMessageHandler(previous);
    EXPECT_EQ(critical,
              QStringList(QStringLiteral("only one BubbleHelper instance allowed/necessary")));
    EXPECT_EQ(another.Bubble(), nullptr);
    EXPECT_FALSE(second->tick) << "it polls nothing";
}

// Nothing wakes the program while the pointer is away from its windows or the help is off; an
// open bubble still closes first.
TEST_F(BubbleHelperTest, TicksRestWhileNothingCanShowABubble) {
    helper.SetHelp(child, QStringLiteral("help"));
    const struct {
        const char* what;
        std::function<void()> arrange;
        bool paused;
    } cases[] = {
        {"pointer over a widget", [&] { desktop->pointer = child->mapToGlobal(QPoint(5, 5)); },
         false},
        {"pointer outside the windows", [&] { desktop->pointer = QPoint(700, 500); }, true},
        {"bubble open under a window that went away",
         [&] {
             RestOver(child);
             window.hide();
         },
         false},
        {"help turned off", [&] { helper.EnableHelp(false); }, true},
    };
    for (const auto& c : cases) {
        desktop->paused = false;
        c.arrange();
        Tick();
        EXPECT_EQ(desktop->paused, c.paused) << c.what;
    }
    window.show();
    helper.EnableHelp(true);
}

TEST(BubbleDesktop, RestingTicksComeBackWhenThePointerEntersAWidget) {
    BubbleDesktop desktop;
    int ticks = 0;
    desktop.StartTicking([&ticks] { ++ticks; });
    desktop.PauseTicking();
    QTest::qWait(3 * BubbleDesktop::kTickMilliseconds);
    EXPECT_EQ(ticks, 0);

    QWidget widget;
    QEvent enter(QEvent::Enter);
    QApplication::sendEvent(&widget, &enter);
    EXPECT_TRUE(QTest::qWaitFor([&ticks] { return ticks > 0; }, 5000));
}
