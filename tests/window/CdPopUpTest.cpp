// SPDX-License-Identifier: GPL-3.0-or-later
#include "cdaudio/DiscCache.h"
#include "cdaudio/DiscImage.h"
#include "cdaudio/DiscReader.h"
#include "cdaudio/TrackWav.h"
#include "filelist/FileListView.h"
#include "kit/Attributes.h"
#include "support/FakeGogoOnPath.h"
#include "support/WindowFixture.h"
#include "tagging/ID3Struct.h"
#include "window/VambleWindow.h"
#include "window/WindowMessages.h"

#include <QAbstractItemView>
#include <QAction>
#include <QComboBox>
#include <QLabel>
#include <QLineEdit>
#include <QMessageBox>
#include <QPushButton>
#include <QTest>
#include <QWheelEvent>
#include <fstream>
#include <gtest/gtest.h>
#include <tuple>

namespace fs = std::filesystem;

namespace {

using Row = std::tuple<std::string, std::string, int32_t>; // artist, album, track

class CdPopUpTest : public WindowFixture {
protected:
    void SetUp() override {
        WindowFixture::SetUp();
        // Discs are read into a cache of the test's own.
        qputenv("XDG_CACHE_HOME", QFile::encodeName(root.filePath(QStringLiteral("cache"))));
        Open();
        popUp = Find<QComboBox>(QStringLiteral("Get Files from CD:"));
        status = Find<QLabel>(QStringLiteral("Encoding File: "));
        stopButton = Find<QPushButton>(QStringLiteral("Stop"));
    }

    // A folder of WAV track files of the names given, and a picture.
    static fs::path TrackFolder(const fs::path& folder, const std::vector<std::string>& names) {
        fs::create_directories(folder);
        for (const std::string& name : names) {
            EXPECT_TRUE(TrackWavWriter(folder / name).Finish());
        }
        std::ofstream(folder / "cover.jpg") << "not a track";
        return folder;
    }
    // The desktop's CD folder for a drive, in the runtime folder the test program has of its own.
    static fs::path DesktopCd(const std::string& drive) {
        return TrackFolder(qgetenv("XDG_RUNTIME_DIR").toStdString() + "/gvfs/cdda:host=" + drive,
                           {"Track 1.wav", "Track 2.wav"});
    }
    // Rescans and waits for the CDs found to fill the pop-up.
    void RescanFor(int count) {
        Send(kit::Message(MSG_RESCAN_CDS));
        ASSERT_TRUE(QTest::qWaitFor([&] { return popUp->count() == count; }, 10000));
    }
    // A disc in a drive, as the pop-up offers it.
    static kit::Message DriveCd(const DiscImage& image, const std::string& name) {
        kit::Message volume(MSG_CD_VOLUME);
        volume.Add("Volume", name);
        volume.Add("Device", image.cue.string());
        volume.Add("dev_t", int32_t{0});
        return volume;
    }

    void Send(const kit::Message& message) {
        kit::PostMessage(window, message);
        QCoreApplication::processEvents();
    }
    [[nodiscard]] bool Idle() const { return popUp->isEnabled(); }
    // The alert or question the window shows; null when none.
    [[nodiscard]] QMessageBox* Shown() const {
        for (QMessageBox* box : window->findChildren<QMessageBox*>()) {
            if (box->isVisible()) {
                return box;
            }
        }
        return nullptr;
    }
    // Answers the window's question with the button of that label.
    void Answer(const QString& button) {
        ASSERT_TRUE(QTest::qWaitFor([&] { return Shown() != nullptr; }, 5000));
        for (QAbstractButton* choice : Shown()->buttons()) {
            if (choice->text() == button) {
                choice->click();
            }
        }
        QCoreApplication::processEvents();
    }

    // The rows in list order.
    [[nodiscard]] std::vector<Row> Rows() const {
        std::vector<Row> rows;
        FileListView* list = window->FileList();
        for (int32_t i = 0; i < list->CountItems(); ++i) {
            rows.emplace_back(TagText(Item(i)->tag.artist), TagText(Item(i)->tag.album),
                              Item(i)->track);
        }
        return rows;
    }
    // The rows once there are `count`: a CD's folder is listed away from the window's thread.
    [[nodiscard]] std::vector<Row> RowsOnce(size_t count) const {
        EXPECT_TRUE(QTest::qWaitFor([&] { return Rows().size() >= count; }, 5000));
        return Rows();
    }
    [[nodiscard]] const AudioItem* Item(int32_t index) const {
        return static_cast<const AudioItem*>(window->FileList()->ItemAt(index));
    }

    QComboBox* popUp = nullptr;
    QLabel* status = nullptr;
    QPushButton* stopButton = nullptr;
};

TEST_F(CdPopUpTest, RescanListsTheDesktopsCdsAndChoosingOneAddsItsTracksInOrder) {
    EXPECT_EQ(popUp->count(), 0);
    const fs::path folder = DesktopCd("sr9");
    ASSERT_TRUE(kit::WriteInt32Attribute(folder / "Track 1.wav", "Audio:Track", 5));

    window->show();
    ASSERT_TRUE(QTest::qWaitForWindowExposed(window));
    QTest::keyClick(window, Qt::Key_R, Qt::ControlModifier);
    ASSERT_TRUE(QTest::qWaitFor([&] { return popUp->count() == 1; }, 10000));
    EXPECT_EQ(popUp->itemText(0), QStringLiteral("Audio CD"));
    EXPECT_EQ(popUp->currentIndex(), -1);

    popUp->setCurrentIndex(0);
    emit popUp->activated(0);
    EXPECT_EQ(RowsOnce(2), (std::vector<Row>{{"", "Audio CD", 2}, {"", "Audio CD", 5}}));
    EXPECT_EQ(window->CurrentIndex(), 0);

    // After the CD is gone, a rescan empties the pop-up and its label.
    fs::remove_all(folder);
    Find<QPushButton>(QStringLiteral("Rescan for CDs"))->click();
    QCoreApplication::processEvents();
    EXPECT_EQ(popUp->count(), 0);
    EXPECT_EQ(popUp->currentText(), QString());
}

TEST_F(CdPopUpTest, OnlyADeliberateChoiceAddsACdsTracks) {
    DesktopCd("sr9");
    RescanFor(1);
    window->show();
    ASSERT_TRUE(QTest::qWaitForWindowExposed(window));
    popUp->setFocus();
    // The wheel and the arrow keys over the closed pop-up choose nothing.
    QWheelEvent wheel(QPointF(5, 5), popUp->mapToGlobal(QPointF(5, 5)), QPoint(), QPoint(0, -120),
                      Qt::NoButton, Qt::NoModifier, Qt::NoScrollPhase, false);
    QApplication::sendEvent(popUp, &wheel);
    for (const Qt::Key key : {Qt::Key_Down, Qt::Key_Up, Qt::Key_End, Qt::Key_A}) {
        QTest::keyClick(popUp, key);
    }
    QCoreApplication::processEvents();
    EXPECT_TRUE(Rows().empty());
    EXPECT_EQ(popUp->currentIndex(), -1);

    // Opened, Enter on an item chooses it.
    QTest::keyClick(popUp, Qt::Key_Space);
    ASSERT_TRUE(QTest::qWaitFor([&] { return popUp->view()->isVisible(); }, 5000));
    QTest::keyClick(popUp->view(), Qt::Key_Down);
    QTest::keyClick(popUp->view(), Qt::Key_Return);
    EXPECT_EQ(RowsOnce(2).size(), 2U);
}

TEST_F(CdPopUpTest, AFolderWhosePathIsNotTextIsAddedAllTheSame) {
    const QByteArray runtime = qgetenv("XDG_RUNTIME_DIR");
    const QByteArray odd = QFile::encodeName(root.path()) + "/run\xff\xfe";
    qputenv("XDG_RUNTIME_DIR", odd);
    DesktopCd("sr9");
    RescanFor(1);
    qputenv("XDG_RUNTIME_DIR", runtime);
    emit popUp->activated(0);
    ASSERT_EQ(RowsOnce(2).size(), 2U);
    EXPECT_TRUE(Item(0)->ref.path.native().starts_with(odd.toStdString()));
}

TEST_F(CdPopUpTest, AVolumeNamedArtistDashAlbumTagsEveryRowOnEachChoice) {
    const fs::path folder = TrackFolder(root.path().toStdString() + "/Artist - Album/wav",
                                        {"Track 1.wav", "Track 2.wav"});
    kit::Message volume(MSG_CD_VOLUME);
    volume.Add("Volume", std::string("Artist - Album"));
    volume.Add("Folder", kit::EntryRef{folder});
    Send(volume); // no "dev_t": nothing happens
    EXPECT_TRUE(Rows().empty());

    volume.Add("dev_t", int32_t{0});
    Send(volume);
    Send(volume);
    EXPECT_EQ(RowsOnce(4), (std::vector<Row>{{"Artist", "Album", 1},
                                             {"Artist", "Album", 2},
                                             {"Artist", "Album", 1},
                                             {"Artist", "Album", 2}}));
}

TEST_F(CdPopUpTest, ADiscWithoutAFolderIsReadAndTaggedFromItsCdText) {
    const DiscImage image = WriteDiscImage(root.filePath(QStringLiteral("image")).toStdString(),
                                           {160, 3000}, "Jean-Michel Jarre", "Oxygene");
    const kit::Message volume = DriveCd(image, "Jean-Michel Jarre - Oxygene");

    // Stop ends the reading at once and adds nothing.
    Send(volume);
    EXPECT_TRUE(status->text().startsWith(QStringLiteral("Reading CD")));
    EXPECT_FALSE(popUp->isEnabled());
    Send(kit::Message(MSG_STOP));
    ASSERT_TRUE(QTest::qWaitFor([&] { return Idle(); }, 60000));
    EXPECT_TRUE(Rows().empty());

    Send(volume);
    ASSERT_TRUE(QTest::qWaitFor([&] { return Idle(); }, 60000));
    // The performer's own "-" does not split it.
    EXPECT_EQ(Rows(), (std::vector<Row>{{"Jean-Michel Jarre", "Oxygene", 1},
                                        {"Jean-Michel Jarre", "Oxygene", 2}}));
    EXPECT_EQ(status->text(), QStringLiteral("Encoding File: "));
}

TEST_F(CdPopUpTest, AReadAndAnEncodingRunExcludeEachOther) {
    FakeGogoOnPath fake("hang");
    ASSERT_TRUE(fake.IsValid());
    Find<QLineEdit>(QStringLiteral("Save in:"))->setText(root.filePath(QStringLiteral("out")));
    const fs::path wav = root.filePath(QStringLiteral("song.wav")).toStdString();
    ASSERT_TRUE(TrackWavWriter(wav).Finish());
    ASSERT_NE(window->FileList()->AddEntry(wav, -1), nullptr);
    const DiscImage image =
        WriteDiscImage(root.filePath(QStringLiteral("image")).toStdString(), {160, 6000}, "", "");

    // A CD choice and an Encode click, both waiting while the window was busy: only the read
    // runs, and Stop stops it.
    kit::PostMessage(window, DriveCd(image, "Audio CD"));
    kit::PostMessage(window, kit::Message(MSG_ENCODE));
    QCoreApplication::processEvents();
    EXPECT_FALSE(window->IsEncoding());
    EXPECT_TRUE(stopButton->isEnabled());
    Send(kit::Message(MSG_STOP));
    ASSERT_TRUE(QTest::qWaitFor([&] { return Idle(); }, 60000));
    EXPECT_TRUE(fake.Invocations().empty());

    // During a run, a disc is not read.
    Send(kit::Message(MSG_ENCODE));
    ASSERT_TRUE(QTest::qWaitFor([&] { return window->IsEncoding(); }));
    Send(DriveCd(image, "Audio CD"));
    EXPECT_FALSE(status->text().startsWith(QStringLiteral("Reading CD")));
    EXPECT_NE(Shown(), nullptr);
    Send(kit::Message(MSG_STOP));
    EXPECT_FALSE(window->IsEncoding());
}

TEST_F(CdPopUpTest, DamagedTracksJoinTheListMarkedOnlyWhenAskedFor) {
    const DiscImage image =
        WriteDiscImage(root.filePath(QStringLiteral("image")).toStdString(), {160, 400}, "", "");
    // A scratch in track 2: its sectors read differently each time.
    window->Discs().SetDriveFaults([](int32_t sector) {
        return sector >= 250 && sector < 300 ? SectorFault::Unstable : SectorFault::None;
    });
    for (const auto& [answer, rows] : std::vector<std::pair<QString, std::vector<Row>>>{
             {QStringLiteral("Leave Out"), {{"", "Audio CD", 1}}},
             // The rows of the first choice stay.
             {QStringLiteral("Add Anyway"),
              {{"", "Audio CD", 1}, {"", "Audio CD", 1}, {"", "Audio CD", 2}}}}) {
        Send(DriveCd(image, "Audio CD"));
        Answer(answer);
        ASSERT_EQ(Rows(), rows) << answer.toStdString();
    }
    EXPECT_TRUE(Item(1)->SourceDamage().empty());
    EXPECT_FALSE(Item(2)->SourceDamage().empty());
}

TEST_F(CdPopUpTest, ClearingTheCdCacheAsksFirst) {
    const fs::path cache = DiscCacheFolder();
    ASSERT_EQ(MakeDiscFolder(cache, "0123456789abcdef0123"), "");
    fs::remove(TrackFolder(cache / "0123456789abcdef0123" / "wav", {"Track 01.wav"}) / "cover.jpg");
    QAction* clear = nullptr;
    for (QAction* action : window->findChildren<QAction*>()) {
        clear = action->text() == QStringLiteral("Clear CD Cache…") ? action : clear;
    }
    ASSERT_NE(clear, nullptr);

    clear->trigger();
    Answer(QStringLiteral("Cancel"));
    EXPECT_EQ(MeasureDiscCache(cache).discs, 1);
    clear->trigger();
    Answer(QStringLiteral("Clear"));
    EXPECT_TRUE(QTest::qWaitFor([&] { return MeasureDiscCache(cache) == DiscCacheUsage{}; }, 5000));
}

} // namespace
