// SPDX-License-Identifier: GPL-3.0-or-later
#include "window/XqFilePanel.h"

#include "kit/AppDefs.h"

#include <QAbstractItemView>
#include <QApplication>
#include <QCompleter>
#include <QDialogButtonBox>
#include <QDir>
#include <QFileSystemModel>
#include <QFontMetricsF>
#include <QLineEdit>
#include <QPushButton>
#include <QTemporaryDir>
#include <QTest>
#include <gtest/gtest.h>

namespace {

// Keeps the messages the panel answers with.
class Recorder : public QObject, public kit::Handler {
public:
    void MessageReceived(kit::Message* message) override { received.push_back(*message); }
    bool event(QEvent* event) override {
        return kit::DeliverMessageEvent(event, this) || QObject::event(event);
    }
    std::vector<kit::Message> received;
};

std::vector<std::string> Refs(const kit::Message& message, const char* name) {
    std::vector<std::string> paths;
    kit::EntryRef ref;
    for (int32_t i = 0; message.Find(name, i, &ref) == kit::B_OK; ++i) {
        paths.push_back(ref.path.string());
    }
    return paths;
}

class XqFilePanelTest : public ::testing::Test {
protected:
    void SetUp() override { ASSERT_TRUE(QDir(root.path()).mkdir(QStringLiteral("beta"))); }
    std::string Path(const char* leaf = nullptr) const {
        return QDir::cleanPath(leaf ? root.filePath(QLatin1String(leaf)) : root.path())
            .toStdString();
    }
    QPushButton* Cancel() const {
        return panel.findChild<QDialogButtonBox*>()->button(QDialogButtonBox::Cancel);
    }

    QTemporaryDir root;
    Recorder recorder;
    XqFilePanel panel{&recorder, root.path()};
};

} // namespace

TEST_F(XqFilePanelTest, TheExtraButtonAnswersWithTheFolderShownOnceEachTime) {
    ASSERT_NE(panel.DirButton(), nullptr);
    for (const char* shown : {static_cast<const char*>(nullptr), "beta"}) {
        panel.setDirectory(QString::fromStdString(Path(shown)));
        panel.show();
        panel.DirButton()->click();
        QCoreApplication::processEvents();
        QCoreApplication::processEvents();
        EXPECT_TRUE(panel.isHidden());
    }
    ASSERT_EQ(recorder.received.size(), 2u);
    EXPECT_EQ(recorder.received[0].what, kit::B_REFS_RECEIVED);
    EXPECT_EQ(Refs(recorder.received[0], "refs"), std::vector{Path()});
    EXPECT_EQ(Refs(recorder.received[0], "directory"), std::vector{Path()});
    EXPECT_EQ(Refs(recorder.received[1], "refs"), std::vector{Path("beta")});
    EXPECT_EQ(Refs(recorder.received[1], "directory"), std::vector{Path("beta")});
}

TEST_F(XqFilePanelTest, TheExtraButtonStandsLeftOfCancelAndKeepsItsPlace) {
    panel.show();
    ASSERT_TRUE(QTest::qWaitForWindowExposed(&panel));
    QPushButton* button = panel.DirButton();
    EXPECT_EQ(button->text(), QStringLiteral("Select Current Directory"));
    const kit::Rect frame = kit::FromQRect(button->geometry());
    const kit::Rect cancel =
        kit::FromQRect(QRect(Cancel()->mapTo(&panel, QPoint(0, 0)), Cancel()->size()));
    EXPECT_EQ(frame.right, cancel.left - 10.0f);
    EXPECT_EQ(frame.top, cancel.top);
    EXPECT_EQ(frame.bottom, cancel.bottom);
    const double labelWidth = QFontMetricsF(Cancel()->font()).horizontalAdvance(button->text());
    EXPECT_NEAR(frame.Width(), labelWidth + 15.0, 1.0);

    const QRect before = button->geometry();
    const QPoint cancelBefore = Cancel()->mapTo(&panel, QPoint(0, 0));
    panel.resize(panel.size() + QSize(120, 80));
    QCoreApplication::processEvents();
    EXPECT_EQ(button->geometry(), before);
    EXPECT_EQ(Cancel()->mapTo(&panel, QPoint(0, 0)), cancelBefore + QPoint(120, 80));
}

// Enter in the name field answers and hides the panel; the completion list that typing opened
// goes with it instead of floating over the window.
TEST_F(XqFilePanelTest, AnsweringFromTheNameFieldClosesItsCompletionList) {
    ASSERT_TRUE(QDir(root.path()).mkdir(QStringLiteral("bravo")));
    panel.show();
    panel.activateWindow();
    ASSERT_TRUE(QTest::qWaitForWindowActive(&panel));
    // The folder's entries are listed before the name is typed, as they are for a user.
    auto* entries = panel.findChild<QFileSystemModel*>();
    ASSERT_TRUE(
        QTest::qWaitFor([&] { return entries->rowCount(entries->index(root.path())) == 2; }));
    auto* name = panel.findChild<QLineEdit*>(QStringLiteral("fileNameEdit"));
    ASSERT_NE(name, nullptr);
    name->setFocus();
    QTest::keyClicks(name, QStringLiteral("b"));
    QAbstractItemView* completions = name->completer()->popup();
    ASSERT_TRUE(QTest::qWaitFor([&] { return completions->isVisible(); }));
    QTest::keyClicks(name, QStringLiteral("eta"));
    QTest::keyClick(name, Qt::Key_Return);
    QCoreApplication::processEvents();
    ASSERT_TRUE(panel.isHidden());
    EXPECT_FALSE(completions->isVisible());
    ASSERT_EQ(recorder.received.size(), 1u);
    EXPECT_EQ(Refs(recorder.received[0], "refs"), std::vector{Path("beta")});
}
