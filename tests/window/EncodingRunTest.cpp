// SPDX-License-Identifier: GPL-3.0-or-later
// Encoding runs through the window, against the fake encoder: rows done in turn, stops, failures
// told to the user, rows removed or retagged during a run, and closing in the middle.
#include "app/VambleApp.h"
#include "app/VamblePrefs.h"
#include "encoding/EncoderCommand.h"
#include "filelist/CheckBitmap.h"
#include "filelist/FileListView.h"
#include "filelist/RowMarks.h"
#include "kit/AppDefs.h"
#include "support/ExfatMount.h"
#include "support/FakeGogoOnPath.h"
#include "support/WindowFixture.h"
#include "window/ClashDialog.h"
#include "window/VambleWindow.h"
#include "window/WindowMessages.h"

#include <QApplication>
#include <QCheckBox>
#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QLineEdit>
#include <QMessageBox>
#include <QPointer>
#include <QPushButton>
#include <QSpinBox>
#include <QTemporaryDir>
#include <QTest>
#include <QTimer>
#include <cmath>
#include <gtest/gtest.h>

namespace {

constexpr int kRunTimeoutMs = 20000;

class EncodingRunTest : public WindowFixture {
protected:
    void SetUp() override {
        WindowFixture::SetUp();
        ASSERT_TRUE(fake.IsValid());
        prefs->SetInt8("FilesAtOnce", 1); // one row after another, unless a test says otherwise
        checkBitmap = new kit::Bitmap(MakeCheckBitmap());
        Open()->show();
        list = window->FileList();
        Field(QStringLiteral("Save in:"))->setText(root.filePath(QStringLiteral("out")));
    }
    void TearDown() override {
        WindowFixture::TearDown();
        delete checkBitmap;
        checkBitmap = nullptr;
        qunsetenv("FAKE_GOGO_STEP_MS");
        qunsetenv("FAKE_GOGO_FAIL_ON");
        qunsetenv("FAKE_GOGO_HANG_ON");
    }

    QLineEdit* Field(const QString& label) const { return Find<QLineEdit>(label); }
    // The status line that begins with the text.
    QString StatusLine(const QString& start) const {
        for (QLabel* line : window->findChildren<QLabel*>()) {
            if (line->text().startsWith(start)) {
                return line->text();
            }
        }
        return {};
    }
    QPushButton* Button(const QString& label) const { return Find<QPushButton>(label); }
    void SetFilesAtOnce(int count) {
        auto* filesAtOnce = Find<QSpinBox>(QStringLiteral("Files at once:"));
        filesAtOnce->setMaximum(count);
        filesAtOnce->setValue(count);
    }

    // Adds rows for WAV files of these names, made first unless `make` is false (for the fake
    // encoder they need only look like WAV files).
    void AddRows(const QStringList& names, bool make = true) {
        for (const QString& name : names) {
            const QString path = root.filePath(name);
            if (make) {
                QFile file(path);
                ASSERT_TRUE(file.open(QIODevice::WriteOnly));
                file.write(QByteArray("RIFF\x24\x00\x00\x00WAVEfmt ", 16));
            }
            ASSERT_NE(list->AddEntry(QFile::encodeName(path).toStdString(), -1), nullptr);
        }
    }
    // A stereo 16-bit sine tone at 44,100 Hz, half a second unless told.
    static void WriteTone(const QString& path, int hertz, double seconds = 0.5) {
        constexpr int kRate = 44100;
        const auto kFrames = static_cast<int>(kRate * seconds);
        QByteArray data;
        for (int i = 0; i < kFrames; ++i) {
            const auto sample = static_cast<int16_t>(8000 * std::sin(2 * M_PI * hertz * i / kRate));
            for (int channel = 0; channel < 2; ++channel) {
                data.append(static_cast<char>(sample & 0xff))
                    .append(static_cast<char>(sample >> 8));
            }
        }
        QByteArray header("RIFF");
        const auto put32 = [&header](uint32_t v) {
            for (int b = 0; b < 4; ++b) {
                header.append(static_cast<char>((v >> (8 * b)) & 0xff));
            }
        };
        put32(36 + static_cast<uint32_t>(data.size()));
        header.append("WAVEfmt ");
        put32(16);
        header.append("\x01\x00\x02\x00", 4);
        put32(kRate);
        put32(kRate * 4);
        header.append("\x04\x00\x10\x00", 4);
        header.append("data");
        put32(static_cast<uint32_t>(data.size()));
        QFile file(path);
        ASSERT_TRUE(file.open(QIODevice::WriteOnly));
        file.write(header + data);
    }
    AudioItem* Row(int32_t index) const { return static_cast<AudioItem*>(list->ItemAt(index)); }

    // Clicks the button and lets the command it posts run.
    void Click(const QString& label) {
        QTest::mouseClick(Button(label), Qt::LeftButton);
        QCoreApplication::processEvents();
    }
    // Once the tags of the files added are in: Encode pressed before begins the run only then.
    void PressEncode() {
        ASSERT_TRUE(QTest::qWaitFor([this] { return !list->ReadingTags(); }, kRunTimeoutMs));
        Click(QStringLiteral("Encode"));
    }
    bool Idle() const {
        return Button(QStringLiteral("Encode"))->isEnabled() &&
               !Button(QStringLiteral("Stop"))->isEnabled();
    }
    void WaitUntilIdle() {
        ASSERT_TRUE(QTest::qWaitFor([this] { return Idle(); }, kRunTimeoutMs));
    }
    // Waits until the fake encoder has been started `count` times and the last one runs.
    void WaitForEncoder(size_t count) {
        ASSERT_TRUE(QTest::qWaitFor(
            [this, count] {
                return fake.Invocations().size() == count && fake.Invocations().back().running;
            },
            kRunTimeoutMs));
    }
    bool AnyEncoderAlive() const {
        const auto runs = fake.Invocations();
        return std::any_of(runs.begin(), runs.end(), [](const auto& run) { return run.running; });
    }
    // The text of the open alert, which is then closed; empty when there is none.
    QString TakeAlert() {
        QString text;
        for (QMessageBox* alert : window->findChildren<QMessageBox*>()) {
            if (alert->isVisible()) {
                EXPECT_EQ(alert->windowTitle(), QStringLiteral("Alert"));
                text = alert->text();
                alert->close();
            }
        }
        return text;
    }

    FakeGogoOnPath fake;
    FileListView* list = nullptr;
};

TEST_F(EncodingRunTest, EncodesEveryRowInTurnAndTagsEachFile) {
    // Added out of order, then sorted by name: the rows are encoded in the order shown.
    AddRows({QStringLiteral("b.wav"), QStringLiteral("c.wav"), QStringLiteral("a.wav")});
    list->SetSortKey(AudioItem::kFilenameColumn);
    Row(1)->SetArtist("Somebody");
    Row(1)->track = 2;
    PressEncode();
    EXPECT_TRUE(Button(QStringLiteral("Stop"))->isEnabled());
    WaitUntilIdle();

    const auto runs = fake.Invocations();
    ASSERT_EQ(runs.size(), 3U);
    for (int32_t i = 0; i < 3; ++i) {
        EXPECT_TRUE(Row(i)->done);
        EXPECT_NE(Row(i)->GetColumnContentBitmap(AudioItem::kDoneColumn), nullptr);
        EXPECT_EQ(runs[static_cast<size_t>(i)].args[1], Row(i)->ref.path.string());
    }
    EXPECT_EQ(runs[1].args[2], root.filePath(QStringLiteral("out/02-b.mp3")).toStdString());
    QFile output(root.filePath(QStringLiteral("out/02-b.mp3")));
    ASSERT_TRUE(output.open(QIODevice::ReadOnly));
    const QByteArray tag = output.readAll().right(128);
    EXPECT_TRUE(tag.startsWith("TAGb.wav"));
    EXPECT_EQ(tag.mid(33, 8), QByteArray("Somebody"));
    EXPECT_EQ(StatusLine(QStringLiteral("Files Remaining: ")),
              QStringLiteral("Files Remaining: 0"));
    EXPECT_EQ(window->CurrentIndex(), 0);

    // With every row done, Encode finds nothing and changes nothing.
    PressEncode();
    QCoreApplication::processEvents();
    EXPECT_TRUE(Idle());
    EXPECT_EQ(fake.Invocations().size(), 3U);
}

TEST_F(EncodingRunTest, EncodeRightAfterADropBeginsOnceTheTagsAreIn) {
    // The file's own title names its output: the run waits for it, the window does not.
    QFile file(root.filePath(QStringLiteral("tagged.wav")));
    ASSERT_TRUE(file.open(QIODevice::WriteOnly));
    const QByteArray chunks = QByteArray("fmt \x10\x00\x00\x00\x01\x00\x02\x00\x44\xac\x00\x00"
                                         "\x10\xb1\x02\x00\x04\x00\x10\x00",
                                         24) +
                              QByteArray("data\x04\x00\x00\x00\x00\x00\x00\x00", 12) +
                              QByteArray("LIST\x18\x00\x00\x00INFOINAM\x0c\x00\x00\x00"
                                         "Found Title\x00",
                                         32);
    file.write("RIFF" + QByteArray(1, static_cast<char>(chunks.size() + 4)) + QByteArray(3, '\0') +
               "WAVE" + chunks);
    file.close();
    Field(QStringLiteral("Output filename as:"))->setText(QStringLiteral("%s"));
    AddRows({QStringLiteral("tagged.wav")}, false);
    Click(QStringLiteral("Encode"));
    EXPECT_TRUE(Button(QStringLiteral("Stop"))->isEnabled());
    WaitUntilIdle();
    const auto runs = fake.Invocations();
    ASSERT_EQ(runs.size(), 1U);
    EXPECT_EQ(runs[0].args[2], root.filePath(QStringLiteral("out/Found Title.mp3")).toStdString());
}

TEST_F(EncodingRunTest, AStopQuestionOpenWhenTheRunFinishesIsAnsweredByIt) {
    AddRows({QStringLiteral("a.wav")});
    qputenv("FAKE_GOGO_STEP_MS", "50");
    PressEncode();
    WaitForEncoder(1);
    bool asked = false;
    QTimer::singleShot(0, window, [&] {
        for (QMessageBox* box : window->findChildren<QMessageBox*>()) {
            asked = asked ||
                    (box->isVisible() && box->windowTitle() == QStringLiteral("Stop Encoding?"));
        }
    });
    // Closing asks, in a loop of its own, until the encoder finishes by itself.
    EXPECT_TRUE(window->close());
    EXPECT_TRUE(asked);
    EXPECT_EQ(fake.Invocations().size(), 1U);
}

// Titles with characters a USB stick's file system refuses: an exFAT folder takes them as "_" in
// the names, the tags keep them as typed; an ext4 folder keeps them in the names too.
TEST_F(EncodingRunTest, TitlesAUsbStickRefusesGetNamesItTakes) {
    const std::vector<std::pair<std::string, QString>> titles = {
        {"What?", QStringLiteral("What_")},           {"AC:DC Live", QStringLiteral("AC_DC Live")},
        {"Star*Power", QStringLiteral("Star_Power")}, {"Less<More>", QStringLiteral("Less_More_")},
        {"Either|Or", QStringLiteral("Either_Or")},   {"Back\\Slash", QStringLiteral("Back_Slash")},
        {"The End.", QStringLiteral("The End_")},
    };
    const ExfatMount stick(root.filePath(QStringLiteral("stick")).toStdString());
    if (!stick.Mounted()) {
        GTEST_SKIP() << "no exFAT file system could be mounted (root, a loop device, FUSE and "
                        "exfat-fuse are needed)";
    }
    Field(QStringLiteral("Output filename as:"))->setText(QStringLiteral("%s"));
    for (const bool usb : {false, true}) {
        const QString folder = root.filePath(usb ? QStringLiteral("stick") : QStringLiteral("ext"));
        Field(QStringLiteral("Save in:"))->setText(folder);
        list->DeselectAll();
        while (list->CountItems() > 0) {
            delete list->RemoveItem(0);
        }
        QStringList names;
        for (size_t i = 0; i < titles.size(); ++i) {
            names << QStringLiteral("%1-%2.wav").arg(usb ? 1 : 0).arg(i);
        }
        AddRows(names);
        for (size_t i = 0; i < titles.size(); ++i) {
            Row(static_cast<int32_t>(i))->SetSongTitle(titles[i].first.c_str());
        }
        PressEncode();
        WaitUntilIdle();
        EXPECT_EQ(TakeAlert(), QString()) << usb;
        for (const auto& title : titles) {
            const QString name = usb ? title.second : QString::fromStdString(title.first);
            QFile output(folder + QLatin1Char('/') + name + QStringLiteral(".mp3"));
            ASSERT_TRUE(output.open(QIODevice::ReadOnly)) << output.fileName().toStdString();
            EXPECT_TRUE(output.readAll().right(128).mid(3).startsWith(title.first.c_str()))
                << "the tag keeps the title as typed: " << title.first;
        }
    }
}

TEST_F(EncodingRunTest, StopLeavesTheRowNotDoneAndTheNextRunStartsAtTheTop) {
    AddRows({QStringLiteral("a.wav"), QStringLiteral("b.wav"), QStringLiteral("c.wav")});
    qputenv("FAKE_GOGO_STEP_MS", "100");
    PressEncode();
    WaitForEncoder(2);
    EXPECT_EQ(window->CurrentIndex(), 1);
    FakeGogoOnPath::SetMode("hang"); // Stop works on an encoder that writes nothing too
    Click(QStringLiteral("Stop"));
    EXPECT_TRUE(Idle());
    EXPECT_FALSE(AnyEncoderAlive()) << "the encoder's process group was killed";
    EXPECT_TRUE(Row(0)->done);
    EXPECT_FALSE(Row(1)->done);
    EXPECT_EQ(TakeAlert(), QString()) << "a stop is no failure";

    qunsetenv("FAKE_GOGO_STEP_MS");
    FakeGogoOnPath::SetMode("encode");
    PressEncode();
    WaitUntilIdle();
    const auto runs = fake.Invocations();
    ASSERT_EQ(runs.size(), 4U);
    EXPECT_EQ(runs[2].args[1], Row(1)->ref.path.string()) << "the stopped row comes first";
    EXPECT_TRUE(Row(1)->done && Row(2)->done);
}

TEST_F(EncodingRunTest, AFailedFileStopsTheRunAndTheUserLearnsWhy) {
    AddRows({QStringLiteral("first.wav"), QStringLiteral("second.wav")});
    for (const char* mode : {"fail", "crash", "marker-fail", "no-newline", "missing"}) {
        if (std::string(mode) == "missing") {
            qputenv("PATH", QFile::encodeName(root.path()));
        }
        FakeGogoOnPath::SetMode(mode);
        PressEncode();
        WaitUntilIdle();
        const QString alert = TakeAlert();
        EXPECT_TRUE(alert.contains(QStringLiteral("first.wav")))
            << mode << ": " << alert.toStdString();
        EXPECT_FALSE(Row(0)->done) << mode;
        EXPECT_FALSE(Row(1)->done) << mode << ": the run stopped at the failure";
    }
}

TEST_F(EncodingRunTest, RowsThatCannotBeEncodedAreNamedBeforeAnyEncoderStarts) {
    AddRows({QStringLiteral("say \"hi\".wav")});
    PressEncode();
    WaitUntilIdle();
    EXPECT_TRUE(TakeAlert().contains(QStringLiteral("say \"hi\".wav")));
    for (const QString& folder : {QString(), QStringLiteral("/")}) {
        Field(QStringLiteral("Save in:"))->setText(folder);
        PressEncode();
        WaitUntilIdle();
        const QString alert = TakeAlert();
        EXPECT_FALSE(alert.isEmpty());
        EXPECT_NE(alert, QString::fromUtf8(kOutputDirectoryAlert)) << "nothing was made";
    }
    EXPECT_TRUE(fake.Invocations().empty());
}

TEST_F(EncodingRunTest, RemovingTheRowBeingEncodedStopsOnlyThatRow) {
    AddRows({QStringLiteral("a.wav"), QStringLiteral("b.wav"), QStringLiteral("c.wav")});
    qputenv("FAKE_GOGO_STEP_MS", "200");
    PressEncode();
    WaitForEncoder(2);
    const int64_t last = Row(2)->Id();
    list->Select(1);
    Send(MSG_REMOVE_ITEMS);
    qunsetenv("FAKE_GOGO_STEP_MS");
    WaitUntilIdle();
    ASSERT_EQ(list->CountItems(), 2);
    EXPECT_EQ(Row(1)->Id(), last);
    EXPECT_TRUE(Row(0)->done && Row(1)->done);
    const auto runs = fake.Invocations();
    ASSERT_EQ(runs.size(), 3U);
    EXPECT_EQ(runs[2].args[1], Row(1)->ref.path.string());
    EXPECT_FALSE(AnyEncoderAlive());
    EXPECT_EQ(TakeAlert(), QString());
}

// The fake encoder's output is no MPEG audio, so a checked box shows in the writer's refusal,
// which leaves the file as the unchecked box does: the encoder's bytes and the ID3v1 tag; the
// row says what was not written.
TEST_F(EncodingRunTest, ID3v2TagIsWrittenOnlyWhenItsBoxIsChecked) {
    AddRows({QStringLiteral("a.wav")});
    for (const bool checked : {false, true}) {
        Find<QCheckBox>(QStringLiteral("Also write ID3v2 tags"))->setChecked(checked);
        Row(0)->done = false;
        QFile::remove(root.filePath(QStringLiteral("out/a.mp3"))); // no file to ask about
        ::testing::internal::CaptureStdout();
        PressEncode();
        WaitUntilIdle();
        const std::string printed = ::testing::internal::GetCapturedStdout();
        EXPECT_EQ(printed.find("Error writing ID3v2 tag.\n") != std::string::npos, checked);
        QFile output(root.filePath(QStringLiteral("out/a.mp3")));
        ASSERT_TRUE(output.open(QIODevice::ReadOnly));
        const QByteArray bytes = output.readAll();
        EXPECT_EQ(bytes.left(4096), QByteArray(4096, '\0'));
        EXPECT_TRUE(bytes.mid(4096).startsWith("TAGa.wav"));
        EXPECT_EQ(bytes.size(), 4096 + 128);
        // The row is done either way; a tag that could not be written marks it with the reason.
        EXPECT_TRUE(Row(0)->done);
        EXPECT_EQ(Row(0)->Warning().empty(), !checked);
        EXPECT_EQ(Row(0)->GetColumnContentBitmap(AudioItem::kDoneColumn),
                  checked ? &ClashMark() : checkBitmap);
    }
}

TEST_F(EncodingRunTest, TagsAppliedDuringTheRunReachTheFile) {
    AddRows({QStringLiteral("a.wav")});
    qputenv("FAKE_GOGO_STEP_MS", "100");
    PressEncode();
    WaitForEncoder(1);
    list->Select(0);
    Field(QStringLiteral("Year:"))->setText(QStringLiteral("1999"));
    Find<QCheckBox>(QStringLiteral("Year"))->setChecked(true);
    Send(MSG_APPLY_TAGS);
    WaitUntilIdle();
    QFile output(root.filePath(QStringLiteral("out/a.mp3")));
    ASSERT_TRUE(output.open(QIODevice::ReadOnly));
    EXPECT_EQ(output.readAll().right(128).mid(93, 4), QByteArray("1999"));
}

// Closing the window during a run asks first; "Cancel" keeps the run going. Once the user agrees,
// or when the session ends, the encoders stop before the rows go.
TEST_F(EncodingRunTest, ClosingDuringARunAsksUnlessTheSessionEnds) {
    AddRows({QStringLiteral("a.wav"), QStringLiteral("b.wav")});
    FakeGogoOnPath::SetMode("hang");
    PressEncode();
    WaitForEncoder(1);
    struct Case {
        const char* answer; // null: the session ends, nothing is asked
        bool closes;
    };
    for (const Case& c :
         {Case{"Cancel", false}, Case{"Stop and Quit", true}, Case{nullptr, true}}) {
        if (!window) {
            prefs = new VamblePrefs("Xq-Vamble");
            Open()->show();
            list = window->FileList();
            AddRows({QStringLiteral("a.wav")}, false);
            const size_t started = fake.Invocations().size();
            PressEncode();
            WaitForEncoder(started + 1);
        }
        bool asked = false;
        QTimer::singleShot(0, [&asked, answer = QString::fromLatin1(c.answer ? c.answer : "")] {
            auto* question = qobject_cast<QMessageBox*>(QApplication::activeModalWidget());
            asked = question != nullptr;
            for (QPushButton* button :
                 question ? question->findChildren<QPushButton*>() : QList<QPushButton*>()) {
                if (button->text() == answer) {
                    button->click();
                }
            }
        });
        testing::internal::CaptureStdout();
        if (c.answer) {
            window->close();
        } else {
            window->CloseWithoutAsking();
        }
        QCoreApplication::processEvents();
        const bool closed = QTest::qWaitFor([&] { return window.isNull(); }, c.closes ? 5000 : 200);
        const std::string printed = testing::internal::GetCapturedStdout();
        EXPECT_EQ(asked, c.answer != nullptr) << (c.answer ? c.answer : "session end");
        EXPECT_EQ(closed, c.closes);
        EXPECT_EQ(AnyEncoderAlive(), !c.closes);
        EXPECT_EQ(printed.find("Wait for thread.") != std::string::npos, c.closes);
    }
    prefs = new VamblePrefs("Xq-Vamble"); // the window wrote and deleted the store
}

TEST_F(EncodingRunTest, ApplyTagsAndRemoveWorkOnTheSelectedRows) {
    AddRows({QStringLiteral("0.wav"), QStringLiteral("1.wav"), QStringLiteral("2.wav"),
             QStringLiteral("3.wav"), QStringLiteral("4.wav")});
    for (int32_t i = 0; i < 5; ++i) {
        Row(i)->SetYear("2000");
    }
    list->Select(1);
    list->Select(3, true);
    Field(QStringLiteral("Year:"))->clear(); // selecting showed the row's year there
    Find<QCheckBox>(QStringLiteral("Year"))->setChecked(true);
    Send(MSG_APPLY_TAGS);
    EXPECT_STREQ(Row(1)->tag.year, "");
    EXPECT_STREQ(Row(3)->tag.year, "");
    EXPECT_STREQ(Row(2)->tag.year, "2000");

    const int64_t second = Row(2)->Id();
    Send(MSG_REMOVE_ITEMS);
    ASSERT_EQ(list->CountItems(), 3);
    EXPECT_EQ(Row(1)->Id(), second);
    EXPECT_TRUE(list->IsItemSelected(1));
    EXPECT_EQ(list->CurrentSelection(1), -1);
}

TEST_F(EncodingRunTest, StopEndsEveryEncoderAtOnceAndAFailureLetsTheRowBesideItFinish) {
    SetFilesAtOnce(2);
    AddRows({QStringLiteral("0.wav"), QStringLiteral("1-bad.wav"), QStringLiteral("2.wav"),
             QStringLiteral("3.wav")});
    qputenv("FAKE_GOGO_STEP_MS", "200");
    PressEncode();
    ASSERT_TRUE(QTest::qWaitFor([this] { return fake.Invocations().size() == 2; }, kRunTimeoutMs));
    Click(QStringLiteral("Stop"));
    EXPECT_TRUE(Idle());
    EXPECT_FALSE(AnyEncoderAlive());
    EXPECT_FALSE(Row(0)->done || Row(1)->done);

    // 1-bad fails at once; 0, encoded beside it, is finished and tagged; nothing else starts.
    qputenv("FAKE_GOGO_STEP_MS", "50");
    qputenv("FAKE_GOGO_FAIL_ON", "bad");
    PressEncode();
    WaitUntilIdle();
    EXPECT_TRUE(TakeAlert().contains(QStringLiteral("1-bad.wav")));
    EXPECT_FALSE(AnyEncoderAlive());
    EXPECT_TRUE(Row(0)->done);
    QFile output(root.filePath(QStringLiteral("out/0.mp3")));
    ASSERT_TRUE(output.open(QIODevice::ReadOnly));
    EXPECT_TRUE(output.readAll().right(128).startsWith("TAG0.wav"));
    EXPECT_FALSE(Row(1)->done || Row(1)->Failure().empty());
    EXPECT_FALSE(Row(2)->done || Row(3)->done);
    EXPECT_EQ(fake.Invocations().size(), 4U);
}

TEST_F(EncodingRunTest, TheStatusAreaNamesTheFileWhoseProgressItShows) {
    SetFilesAtOnce(2);
    AddRows({QStringLiteral("a-hang.wav"), QStringLiteral("b.wav")});
    qputenv("FAKE_GOGO_HANG_ON", "hang");
    PressEncode();
    ASSERT_TRUE(QTest::qWaitFor([this] { return Row(1)->done; }, kRunTimeoutMs));
    EXPECT_EQ(StatusLine(QStringLiteral("Encoding File: ")),
              QStringLiteral("Encoding File: a-hang.wav"))
        << "b, started last, has finished";
    // A file dropped now joins the run, and the count says so at once.
    QFile added(root.filePath(QStringLiteral("c-hang.wav")));
    ASSERT_TRUE(added.open(QIODevice::WriteOnly));
    added.write(QByteArray("RIFF\x24\x00\x00\x00WAVEfmt ", 16));
    added.close();
    kit::Message drop(kit::B_REFS_RECEIVED);
    drop.Add<kit::EntryRef>("refs",
                            kit::EntryRef{QFile::encodeName(added.fileName()).toStdString()});
    list->MessageReceived(&drop);
    EXPECT_EQ(StatusLine(QStringLiteral("Files Remaining: ")),
              QStringLiteral("Files Remaining: 2"));
    Click(QStringLiteral("Stop"));
    // Once the run is over, no file is named as being encoded.
    EXPECT_EQ(StatusLine(QStringLiteral("Encoding File: ")), QStringLiteral("Encoding File: "));
}

// A row is checked against the disk when it starts: a file the user was never asked about is
// not replaced, whatever changed after Encode.
TEST_F(EncodingRunTest, AFileNobodyAgreedToReplaceIsKeptWhenSaveInChangesDuringARun) {
    QDir().mkpath(root.filePath(QStringLiteral("later")));
    QFile earlier(root.filePath(QStringLiteral("later/b.mp3")));
    ASSERT_TRUE(earlier.open(QIODevice::WriteOnly));
    earlier.write("an earlier MP3");
    earlier.close();
    AddRows({QStringLiteral("a.wav"), QStringLiteral("b.wav")});
    qputenv("FAKE_GOGO_STEP_MS", "100");
    PressEncode();
    WaitForEncoder(1);
    Field(QStringLiteral("Save in:"))->setText(root.filePath(QStringLiteral("later")));
    WaitUntilIdle();
    EXPECT_TRUE(Row(0)->done);
    EXPECT_FALSE(Row(1)->done);
    EXPECT_NE(Row(1)->Clash(), ClashKind::None);
    ASSERT_TRUE(earlier.open(QIODevice::ReadOnly));
    EXPECT_EQ(earlier.readAll(), "an earlier MP3");
    EXPECT_FALSE(TakeAlert().isEmpty()) << "the end of the run says a row was held back";
}

TEST_F(EncodingRunTest, SeveralAtOnceWriteTheSameFilesAsOneAfterAnother) {
    // The companion encoder this time, not the fake.
    const QByteArray companion =
        QFile::encodeName(QFileInfo(QStringLiteral(COMPANION_GOGO)).path());
    qputenv("PATH", companion + ':' + qgetenv("PATH"));
    QStringList names;
    for (int i = 0; i < 5; ++i) {
        names << QStringLiteral("tone%1.wav").arg(i);
        WriteTone(root.filePath(names.back()), 220 * (i + 1));
    }
    for (const int limit : {1, 2}) {
        list->Select(0, list->CountItems() - 1);
        Send(MSG_REMOVE_ITEMS);
        AddRows(names, false);
        Find<QSpinBox>(QStringLiteral("Files at once:"))->setValue(limit);
        Field(QStringLiteral("Save in:"))
            ->setText(root.filePath(QStringLiteral("out%1").arg(limit)));
        PressEncode();
        WaitUntilIdle();
        EXPECT_EQ(list->GetNumItemsNotDone(), 0);
    }
    for (int i = 0; i < 5; ++i) {
        const QString name = QStringLiteral("/tone%1.mp3").arg(i);
        QFile one(root.filePath(QStringLiteral("out1")) + name);
        QFile two(root.filePath(QStringLiteral("out2")) + name);
        ASSERT_TRUE(one.open(QIODevice::ReadOnly) && two.open(QIODevice::ReadOnly)) << i;
        EXPECT_GT(one.size(), 1000);
        EXPECT_TRUE(one.readAll() == two.readAll()) << name.toStdString();
    }
}

TEST_F(EncodingRunTest, RowsThatWouldOverwriteAFileAreAskedAboutOnce) {
    // a and b write one file; c writes onto a file that is already there.
    Field(QStringLiteral("Output filename as:"))->setText(QStringLiteral("%a"));
    QDir().mkpath(root.filePath(QStringLiteral("out")));
    const QString existing = root.filePath(QStringLiteral("out/c.mp3"));
    struct Case {
        const char* answer;
        bool aDone, bDone, cDone;
        bool existingKept;
    };
    for (const Case& c :
         {Case{"Cancel", false, false, false, true}, Case{"Skip These", true, false, false, true},
          Case{"Overwrite", true, false, true, false}}) {
        list->Select(0, list->CountItems() - 1);
        Send(MSG_REMOVE_ITEMS);
        QFile::remove(root.filePath(QStringLiteral("out/same.mp3")));
        QFile file(existing);
        ASSERT_TRUE(file.open(QIODevice::WriteOnly));
        file.write("an earlier MP3");
        file.close();
        AddRows({QStringLiteral("a.wav"), QStringLiteral("b.wav"), QStringLiteral("c.wav")});
        Row(0)->SetArtist("same");
        Row(1)->SetArtist("same");
        Row(2)->SetArtist("c");

        const size_t before = fake.Invocations().size();
        // The question is answered once it is asked.
        QTimer answer;
        answer.callOnTimeout([&answer, label = QString::fromLatin1(c.answer)] {
            auto* question = dynamic_cast<ClashDialog*>(QApplication::activeModalWidget());
            for (QPushButton* button :
                 question ? question->findChildren<QPushButton*>() : QList<QPushButton*>()) {
                if (button->text() == label) {
                    answer.stop();
                    button->click();
                }
            }
        });
        answer.start(10);
        PressEncode();
        WaitUntilIdle();
        EXPECT_EQ(Row(0)->done, c.aDone) << c.answer;
        EXPECT_EQ(Row(1)->done, c.bDone) << c.answer << ": two rows never write one file";
        EXPECT_EQ(Row(2)->done, c.cDone) << c.answer;
        ASSERT_TRUE(file.open(QIODevice::ReadOnly));
        EXPECT_EQ(file.readAll() == "an earlier MP3", c.existingKept) << c.answer;
        file.close();
        // Every file was written where its row said it would be.
        const auto runs = fake.Invocations();
        for (size_t i = before; i < runs.size(); ++i) {
            for (int32_t r = 0; r < list->CountItems(); ++r) {
                if (Row(r)->ref.path == runs[i].args[1]) {
                    EXPECT_EQ(Row(r)->Output().outputPath, runs[i].args[2]);
                }
            }
        }
    }
    EXPECT_NE(Row(1)->Clash(), ClashKind::None) << "the row held back shows its clash";
}

TEST_F(EncodingRunTest, TheWholeRunRisesToTheEndAndAFailedRowKeepsItsReason) {
    // Three files of different lengths; the fake encoder reports progress slowly.
    for (int i = 0; i < 3; ++i) {
        WriteTone(root.filePath(QStringLiteral("%1.wav").arg(i)), 440, 0.25 * (i + 1));
    }
    AddRows({QStringLiteral("0.wav"), QStringLiteral("1.wav"), QStringLiteral("2.wav")}, false);
    // Slow enough for the window to show the last file's progress before it ends.
    qputenv("FAKE_GOGO_STEP_MS", "60");
    PressEncode();
    // The title shows the whole run's part done: "37% — Vamble".
    int last = 0;
    while (!Idle()) {
        const QString title = window->windowTitle();
        if (title.contains(u'%')) {
            const int percent = title.section(u'%', 0, 0).toInt();
            EXPECT_GE(percent, last);
            last = percent;
        }
        QTest::qWait(5);
    }
    EXPECT_GT(last, 50);
    EXPECT_EQ(window->windowTitle(), QStringLiteral("Vamble"));
    EXPECT_FALSE(window->Monitor().Running());

    // A row that fails keeps its mark and reason through a second run until it is encoded.
    AddRows({QStringLiteral("bad.wav"), QStringLiteral("3.wav")});
    qputenv("FAKE_GOGO_FAIL_ON", "bad");
    for (int run = 0; run < 2; ++run) {
        PressEncode();
        WaitUntilIdle();
        EXPECT_FALSE(TakeAlert().isEmpty());
        EXPECT_FALSE(Row(3)->Failure().empty()) << "run " << run;
        EXPECT_FALSE(Row(4)->done);
    }
    qunsetenv("FAKE_GOGO_FAIL_ON");
    PressEncode();
    WaitUntilIdle();
    EXPECT_TRUE(Row(3)->done && Row(4)->done);
    EXPECT_TRUE(Row(3)->Failure().empty());
}

} // namespace
