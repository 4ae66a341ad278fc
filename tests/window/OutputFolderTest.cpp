// SPDX-License-Identifier: GPL-3.0-or-later
#include "kit/AppDefs.h"
#include "support/WidgetTestSetup.h"
#include "support/WindowFixture.h"
#include "window/WindowMessages.h"
#include "window/XqFilePanel.h"

#include <QAbstractItemView>
#include <QApplication>
#include <QDialogButtonBox>
#include <QDir>
#include <QDropEvent>
#include <QLineEdit>
#include <QMimeData>
#include <QPushButton>
#include <QTest>
#include <QUrl>
#include <filesystem>
#include <fstream>

namespace {

class OutputFolderTest : public WindowFixture {
protected:
    void SetUp() override {
        WindowFixture::SetUp();
        ASSERT_TRUE(folders.isValid());
        base = std::filesystem::canonical(folders.path().toStdString());
        std::filesystem::create_directory(base / "first");
        std::filesystem::create_directory(base / "second");
        std::filesystem::create_directory(base / "with space é");
        std::ofstream(base / "song.wav") << "RIFF";
        std::filesystem::create_directory_symlink(base / "second", base / "link");
        std::filesystem::create_symlink(base / "gone", base / "broken");
        Open();
        saveIn = Find<QLineEdit>(QStringLiteral("Save in:"));
    }

    QString SaveIn() const { return saveIn->text(); }
    static QString Text(const std::filesystem::path& path) {
        return QString::fromStdString(path.string());
    }
    XqFilePanel* Chooser() const {
        const auto panels = window->findChildren<XqFilePanel*>();
        EXPECT_LE(panels.size(), 1);
        return panels.isEmpty() ? nullptr : panels.first();
    }
    void SelectDir() {
        kit::PostMessage(window, kit::Message(MSG_SELECT_DIR));
        QCoreApplication::processEvents();
    }
    // Drops a drag of these URLs (and any text) on the widget, as a file manager does; the
    // action the drop was taken with.
    static Qt::DropAction Drop(QWidget* target, const QList<QUrl>& urls, const QString& text = {}) {
        QMimeData data;
        data.setUrls(urls);
        if (!text.isEmpty()) {
            data.setText(text);
        }
        const QPointF at(target->width() / 2.0, target->height() / 2.0);
        QDragEnterEvent enter(at.toPoint(), Qt::CopyAction | Qt::MoveAction, &data, Qt::LeftButton,
                              Qt::NoModifier);
        QApplication::sendEvent(target, &enter);
        QDropEvent drop(at, Qt::CopyAction | Qt::MoveAction, &data, Qt::LeftButton, Qt::NoModifier);
        QApplication::sendEvent(target, &drop);
        QCoreApplication::processEvents();
        return drop.isAccepted() ? drop.dropAction() : Qt::IgnoreAction;
    }

    QTemporaryDir folders;
    std::filesystem::path base;
    QLineEdit* saveIn = nullptr;
};

} // namespace

TEST_F(OutputFolderTest, SelectDirOpensOneChooserAndBringsItBack) {
    saveIn->setText(Text(base));
    SelectDir();
    XqFilePanel* chooser = Chooser();
    ASSERT_NE(chooser, nullptr);
    EXPECT_TRUE(chooser->isVisible());
    EXPECT_EQ(chooser->labelText(QFileDialog::Accept), QStringLiteral("Select"));
    EXPECT_TRUE(chooser->testOption(QFileDialog::DontUseNativeDialog));
    EXPECT_EQ(chooser->directory().absolutePath(), Text(base)) << "it opens at the output folder";
    auto* list = chooser->findChild<QAbstractItemView*>(QStringLiteral("treeView"));
    // Broken links are not listed.
    EXPECT_TRUE(
        QTest::qWaitFor([list] { return list->model()->rowCount(list->rootIndex()) == 5; }));
    SaveScreenshot(chooser, QStringLiteral("directory-chooser"));

    chooser->hide();
    SelectDir();
    EXPECT_EQ(Chooser(), chooser);
    EXPECT_TRUE(chooser->isVisible());
}

TEST_F(OutputFolderTest, ChoosingTwoFoldersSetsSaveInToTheFirst) {
    SelectDir();
    XqFilePanel* chooser = Chooser();
    ASSERT_NE(chooser, nullptr);
    chooser->setDirectory(Text(base));
    chooser->findChild<QLineEdit*>(QStringLiteral("fileNameEdit"))
        ->setText(QStringLiteral("\"first\" \"second\""));
    QPushButton* select = chooser->findChild<QDialogButtonBox*>()->button(QDialogButtonBox::Open);
    EXPECT_TRUE(QTest::qWaitFor([select] { return select->isEnabled(); }));
    select->click();
    EXPECT_TRUE(QTest::qWaitFor([this] { return !SaveIn().isEmpty(); }));
    EXPECT_EQ(SaveIn(), Text(base / "first"));
}

TEST_F(OutputFolderTest, OnlyAFirstReferenceToAFolderSetsSaveIn) {
    struct Case {
        std::vector<const char*> refs;
        const char* expected; // null: Save in: keeps its text
    };
    for (const uint32_t code : {kit::B_REFS_RECEIVED, kit::B_SIMPLE_DATA}) {
        for (const Case& c :
             {Case{{"first", "second"}, "first"}, Case{{"link"}, "second"},
              Case{{"song.wav", "first"}, nullptr}, Case{{"broken"}, nullptr}, Case{{}, nullptr}}) {
            saveIn->setText(QStringLiteral("unchanged"));
            kit::Message message(code);
            for (const char* ref : c.refs) {
                message.Add("refs", kit::EntryRef{base / ref});
            }
            window->MessageReceived(&message);
            EXPECT_EQ(SaveIn(), c.expected ? Text(base / c.expected) : QStringLiteral("unchanged"))
                << (c.refs.empty() ? "no refs" : c.refs.front());
        }
    }
}

TEST_F(OutputFolderTest, FoldersDroppedOnSaveInOrTheWindowSetIt) {
    window->show();
    const QUrl folder(QStringLiteral("file://") +
                      QString::fromLatin1(QUrl::toPercentEncoding(
                          QString::fromStdString((base / "with space é").string()), "/")));
    ASSERT_TRUE(folder.toString(QUrl::FullyEncoded).contains(QStringLiteral("%20")));
    EXPECT_EQ(Drop(saveIn, {folder}, folder.toString()), Qt::CopyAction) << "never a move";
    EXPECT_EQ(SaveIn(), Text(base / "with space é")) << "the folder, not its address as text";

    Drop(Find<QLabel>(QStringLiteral("Files Remaining: ")),
         {QUrl::fromLocalFile(Text(base / "first"))});
    EXPECT_EQ(SaveIn(), Text(base / "first")) << "dropped beside the controls";

    saveIn->clear();
    Drop(saveIn, {}, QStringLiteral("typed by hand"));
    EXPECT_EQ(SaveIn(), QStringLiteral("typed by hand")) << "plain text is the field's own";
}
