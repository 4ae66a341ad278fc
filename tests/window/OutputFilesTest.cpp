// SPDX-License-Identifier: GPL-3.0-or-later
#include "bubblehelp/BubbleHelper.h"
#include "filelist/FileListView.h"
#include "filelist/RowMarks.h"
#include "gogo/TestAudio.h"
#include "kit/MessageEvent.h"
#include "support/WidgetTestSetup.h"
#include "support/WindowFixture.h"
#include "window/ClashDialog.h"
#include "window/WindowMessages.h"

#include <QAction>
#include <QApplication>
#include <QDir>
#include <QKeyEvent>
#include <QPushButton>
#include <QTest>
#include <QTimer>
#include <fstream>

namespace {

class OutputFilesTest : public WindowFixture {
protected:
    void SetUp() override {
        WindowFixture::SetUp();
        Open();
        window->show();
        ASSERT_TRUE(QTest::qWaitForWindowExposed(window));
        list = window->FileList();
        out = root.filePath(QStringLiteral("out")).toStdString();
        Field(QStringLiteral("Save in:"))->setText(QString::fromStdString(out));
    }

    [[nodiscard]] QLineEdit* Field(const QString& label) const { return Find<QLineEdit>(label); }

    // Checks the output files now and waits until the check is shown.
    void CheckOutputs() const {
        bool shown = false;
        window->CheckOutputs([&shown] { shown = true; });
        ASSERT_TRUE(QTest::qWaitFor([&shown] { return shown; }));
    }

    // A row for a WAV file of that name in a source folder of its own.
    AudioItem* Add(const QString& name, long track = -1) {
        const QString folder = root.filePath(QStringLiteral("src%1").arg(++sources));
        QDir().mkpath(folder);
        const std::string path = QFile::encodeName(folder + QLatin1Char('/') + name).toStdString();
        gogotest::WriteTestWav(path, {.channels = 1, .sampleRate = 8000, .seconds = 0.01});
        return list->AddEntry(path, track);
    }

    // The output path of the command the window builds for the row: its second quoted text.
    [[nodiscard]] std::string CommandOutput(int32_t row) const {
        EncoderCommand built;
        EXPECT_EQ(window->CreateSwitches(built, row), 0);
        const std::string& command = built.text;
        const size_t start = command.find('"', command.find('"', command.find('"') + 1) + 1);
        return command.substr(start + 1, command.find('"', start + 1) - start - 1);
    }

    // The help the bubbles show over a cell of a row.
    [[nodiscard]] QString HelpOver(int32_t column, int32_t row) const {
        const QPoint at = list->ConvertToWidget(list->CellFrame(column, row)).center();
        return window->findChild<BubbleHelper*>()->FindHelp(list, list->mapToGlobal(at));
    }

    FileListView* list = nullptr;
    std::string out;
    int sources = 0;
};

// Answers the next clash question with the button of that label; records whether one came.
void AnswerClashQuestion(const QString& label, bool* asked) {
    QTimer::singleShot(0, [label, asked] {
        auto* dialog = qobject_cast<QMessageBox*>(QApplication::activeModalWidget());
        if (!dynamic_cast<ClashDialog*>(dialog)) {
            return;
        }
        *asked = true;
        for (QPushButton* button : dialog->findChildren<QPushButton*>()) {
            if (button->text() == label) {
                button->click();
            }
        }
    });
}

} // namespace

TEST_F(OutputFilesTest, EachRowKnowsThePathItsCommandWillGet) {
    struct Case {
        const char* pattern;
        const char* artist;
        const char* title;    // null keeps the file name
        std::string expected; // below the output folder
        int32_t track;
        bool extension;
    };
    const std::string cut(30, 't');
    const Case cases[] = {
        {"%a/%c/%s", "Art", nullptr, "/Art/Alb/song.mp3", -1, true},
        {"%a/%c/%s", "", nullptr, "///song.mp3", -1, true},
        {"%t-%s", "", nullptr, "/03-song", 3, false},
        {"%t-%s", "", nullptr, "/song.mp3", -1, true},
        {"%t-%s", "", nullptr, "/00-song.mp3", 0, true},
        {"%s", "", "tttttttttttttttttttttttttttttttttttttttt", "/" + cut + ".mp3", -1, true},
    };
    for (const Case& c : cases) {
        AudioItem* row = Add(QStringLiteral("song.wav"));
        row->track = c.track;
        row->SetArtist(c.artist);
        row->SetAlbum(*c.artist ? "Alb" : "");
        if (c.title) {
            row->SetSongTitle(c.title);
        }
        Field(QStringLiteral("Output filename as:"))->setText(QString::fromLatin1(c.pattern));
        Find<QCheckBox>(QStringLiteral("Add .mp3 file extension to file."))
            ->setChecked(c.extension);
        CheckOutputs();
        const int32_t index = list->IndexOf(row);
        EXPECT_EQ(row->Output().outputPath.string(), out + c.expected) << c.pattern;
        EXPECT_EQ(row->GetColumnContentText(AudioItem::kOutputColumn), out + c.expected);
        EXPECT_EQ(CommandOutput(index), out + c.expected) << "the preview is the command's path";
        delete list->RemoveItem(index);
    }
}

TEST_F(OutputFilesTest, RowsOntoOneFileOrAnExistingOneAreMarkedAndSayWhy) {
    Field(QStringLiteral("Output filename as:"))->setText(QStringLiteral("%a/%c/%s"));
    std::filesystem::create_directories(out);
    std::ofstream(out + "/old.mp3") << "an earlier run's file";
    std::ofstream(out + "/done.mp3") << "this run's file";
    Add(QStringLiteral("song.wav"));
    Add(QStringLiteral("song.wav"));
    Add(QStringLiteral("old.wav"));
    Add(QStringLiteral("done.wav"))->SetItemDone(true);
    Add(QStringLiteral("fresh.wav"));
    CheckOutputs();

    const auto row = [this](int32_t i) { return static_cast<AudioItem*>(list->ItemAt(i)); };
    const ClashKind expected[] = {ClashKind::None, ClashKind::SameAsRow, ClashKind::ExistingFile,
                                  ClashKind::None, ClashKind::None};
    for (int32_t i = 0; i < 5; ++i) {
        EXPECT_EQ(row(i)->Clash(), expected[i]) << "row " << i;
        EXPECT_EQ(row(i)->GetColumnContentBitmap(AudioItem::kDoneColumn) == &ClashMark(),
                  expected[i] != ClashKind::None)
            << "row " << i;
    }
    EXPECT_EQ(row(1)->ClashesWith(), row(0)->Id());
    const QString shared = QString::fromStdString(out + "///song.mp3");
    EXPECT_TRUE(HelpOver(AudioItem::kDoneColumn, 1).contains(QStringLiteral("Row 1")));
    EXPECT_TRUE(HelpOver(AudioItem::kDoneColumn, 1).contains(shared));
    EXPECT_TRUE(HelpOver(AudioItem::kDoneColumn, 2).contains(QString::fromStdString(out)));
    EXPECT_EQ(HelpOver(AudioItem::kSaveAsColumn, 0), QStringLiteral("Output file:\n") + shared);
    EXPECT_EQ(HelpOver(AudioItem::kDoneColumn, 4), QStringLiteral("Drag wav files here to encode."))
        << "an unmarked row's mark cell has the list's own help";

    list->ShowColumn(4, true);
    window->resize(900, 500);
    SaveScreenshot(list->Container(), QStringLiteral("clash-marks"));
}

TEST_F(OutputFilesTest, ChangesAreFollowedOnceTheUserPauses) {
    AudioItem* first = Add(QStringLiteral("a.wav"));
    AudioItem* second = Add(QStringLiteral("b.wav"));
    CheckOutputs();
    const auto followed = [&](const std::string& name) {
        return QTest::qWaitFor([&] { return second->Output().outputPath == out + name; });
    };

    QLineEdit* pattern = Field(QStringLiteral("Output filename as:"));
    pattern->selectAll();
    for (const QChar c : QStringLiteral("%a+%s")) {
        QKeyEvent press(QEvent::KeyPress, 0, Qt::NoModifier, QString(c));
        QApplication::sendEvent(pattern, &press);
    }
    EXPECT_EQ(second->Output().outputPath, out + "/b.mp3") << "not while typing goes on";
    EXPECT_TRUE(followed("/+b.mp3"));

    list->Select(1);
    Field(QStringLiteral("Artist:"))->setText(QStringLiteral("Band"));
    Find<QCheckBox>(QStringLiteral("Artist"))->setChecked(true);
    kit::Message apply(MSG_APPLY_TAGS);
    window->MessageReceived(&apply);
    EXPECT_TRUE(followed("/Band+b.mp3"));

    Find<QCheckBox>(QStringLiteral("Add .mp3 file extension to file."))->setChecked(false);
    EXPECT_TRUE(followed("/Band+b"));

    pattern->setText(QStringLiteral("same"));
    EXPECT_TRUE(QTest::qWaitFor([&] { return second->Clash() == ClashKind::SameAsRow; }));
    list->Select(0);
    kit::Message remove(MSG_REMOVE_ITEMS);
    window->MessageReceived(&remove);
    EXPECT_TRUE(QTest::qWaitFor([&] { return second->Clash() == ClashKind::None; }))
        << "the earlier row of the pair was removed";
    (void)first;
}

TEST_F(OutputFilesTest, AFailureStaysMarkedUntilTheRowIsEncoded) {
    AudioItem* failed = Add(QStringLiteral("a.wav"));
    AudioItem* other = Add(QStringLiteral("b.wav"));
    failed->SetFailure("gogo: cannot read a.wav");
    other->SetItemDone(true);
    Field(QStringLiteral("Output filename as:"))->setText(QStringLiteral("%n"));
    CheckOutputs();
    EXPECT_EQ(failed->GetColumnContentBitmap(AudioItem::kDoneColumn), &FailureMark());
    EXPECT_EQ(HelpOver(AudioItem::kDoneColumn, 0),
              QStringLiteral("Not encoded: gogo: cannot read a.wav"));
    SaveScreenshot(list->Container(), QStringLiteral("failure-mark"));

    failed->SetItemDone(true);
    EXPECT_TRUE(failed->Failure().empty());
    EXPECT_NE(failed->GetColumnContentBitmap(AudioItem::kDoneColumn), &FailureMark());
}

TEST_F(OutputFilesTest, EncodeWithClashesAsksOnceAndTheAnswerDecides) {
    Field(QStringLiteral("Output filename as:"))->setText(QStringLiteral("one"));
    Add(QStringLiteral("a.wav"));
    const int64_t second = Add(QStringLiteral("b.wav"))->Id();
    const int64_t third = Add(QStringLiteral("c.wav"))->Id();
    struct Case {
        const char* button;
        bool start;
        std::unordered_set<int64_t> skipped;
    };
    for (const Case& c : {Case{"Overwrite", true, {}}, Case{"Skip These", true, {second, third}},
                          Case{"Cancel", false, {}}}) {
        bool asked = false;
        CheckOutputs();
        AnswerClashQuestion(QString::fromLatin1(c.button), &asked);
        const VambleWindow::ClashDecision decision = window->AskAboutClashes();
        EXPECT_TRUE(asked) << c.button;
        EXPECT_EQ(decision.start, c.start) << c.button;
        EXPECT_EQ(decision.skipped, c.skipped) << c.button;
    }

    Field(QStringLiteral("Output filename as:"))->setText(QStringLiteral("%n"));
    bool asked = false;
    CheckOutputs();
    AnswerClashQuestion(QStringLiteral("Cancel"), &asked);
    EXPECT_TRUE(window->AskAboutClashes().start);
    QCoreApplication::processEvents();
    EXPECT_FALSE(asked) << "no clash, no question";
}

TEST_F(OutputFilesTest, EncodeClickedTwiceAsksOnce) {
    Field(QStringLiteral("Output filename as:"))->setText(QStringLiteral("one"));
    Add(QStringLiteral("a.wav"));
    Add(QStringLiteral("b.wav"));
    int questions = 0;
    QTimer answer;
    QObject::connect(&answer, &QTimer::timeout, [&questions] {
        if (auto* dialog = dynamic_cast<ClashDialog*>(QApplication::activeModalWidget())) {
            ++questions;
            dialog->reject();
        }
    });
    answer.start(5);
    kit::PostMessage(window, kit::Message(MSG_ENCODE));
    kit::PostMessage(window, kit::Message(MSG_ENCODE));
    QTest::qWait(300);
    EXPECT_EQ(questions, 1);
    EXPECT_FALSE(window->IsEncoding());
}

TEST_F(OutputFilesTest, TheQuestionCountsTheRowsAndNamesTheFirstFew) {
    QStringList names;
    for (int i = 0; i < 7; ++i) {
        names << QStringLiteral("/music/file%1.mp3").arg(i);
    }
    ClashDialog dialog(7, names);
    EXPECT_TRUE(dialog.text().contains(QStringLiteral("7 files")));
    EXPECT_TRUE(dialog.text().contains(names[4]));
    EXPECT_FALSE(dialog.text().contains(names[5]));
    EXPECT_TRUE(dialog.text().contains(QStringLiteral("2 more")));
    bool asked = false;
    AnswerClashQuestion(QStringLiteral("Cancel"), &asked);
    EXPECT_EQ(dialog.Ask(), ClashDialog::Choice::Cancel);
    SaveScreenshot(&dialog, QStringLiteral("clash-question"));
}

TEST_F(OutputFilesTest, TheOutputFileColumnFollowsItsMenuItemAndSetting) {
    QAction* item = nullptr;
    for (QAction* action : window->findChildren<QAction*>()) {
        if (action->text() == QStringLiteral("Output File")) {
            item = action;
        }
    }
    ASSERT_NE(item, nullptr);
    item->trigger();
    QCoreApplication::processEvents();
    EXPECT_TRUE(item->isChecked());
    EXPECT_TRUE(list->ColumnAt(AudioItem::kOutputColumn)->IsShown());

    delete window.data();
    prefs = new VamblePrefs("Xq-Vamble");
    int8_t stored = 0;
    EXPECT_EQ(prefs->Find("OutputC", &stored), kit::B_OK);
    EXPECT_EQ(stored, 1);
    Open();
    EXPECT_TRUE(window->FileList()->ColumnAt(AudioItem::kOutputColumn)->IsShown());
}
