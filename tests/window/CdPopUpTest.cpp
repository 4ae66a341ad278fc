#include "cdaudio/DiscImage.h"
#include "cdaudio/TrackWav.h"
#include "filelist/FileListView.h"
#include "kit/Attributes.h"
#include "support/WindowFixture.h"
#include "tagging/ID3Struct.h"
#include "window/VambleWindow.h"
#include "window/WindowMessages.h"

#include <QComboBox>
#include <QLabel>
#include <QPushButton>
#include <QTest>
#include <algorithm>
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
        Open();
        popUp = Find<QComboBox>(QStringLiteral("Get Files from CD:"));
        status = Find<QLabel>(QStringLiteral("Encoding File: "));
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

    void Send(const kit::Message& message) {
        kit::PostMessage(window, message);
        QCoreApplication::processEvents();
    }

    // The rows ordered by track.
    [[nodiscard]] std::vector<Row> Rows() const {
        std::vector<Row> rows;
        FileListView* list = window->FileList();
        for (int32_t i = 0; i < list->CountItems(); ++i) {
            const auto* row = static_cast<const AudioItem*>(list->ItemAt(i));
            rows.emplace_back(TagText(row->tag.artist), TagText(row->tag.album), row->track);
        }
        std::sort(rows.begin(), rows.end(),
                  [](const Row& a, const Row& b) { return std::get<2>(a) < std::get<2>(b); });
        return rows;
    }

    QComboBox* popUp = nullptr;
    QLabel* status = nullptr;
};

TEST_F(CdPopUpTest, RescanListsTheDesktopsCdsAndChoosingOneAddsItsTracks) {
    EXPECT_EQ(popUp->count(), 0);
    // The desktop's CD folders are in the runtime folder the test program has of its own.
    const fs::path folder =
        TrackFolder(qgetenv("XDG_RUNTIME_DIR").toStdString() + "/gvfs/cdda:host=sr9",
                    {"Track 1.wav", "Track 2.wav"});
    ASSERT_TRUE(kit::WriteInt32Attribute(folder / "Track 1.wav", "Audio:Track", 5));

    window->show();
    ASSERT_TRUE(QTest::qWaitForWindowExposed(window));
    QTest::keyClick(window, Qt::Key_R, Qt::ControlModifier);
    QCoreApplication::processEvents();
    ASSERT_EQ(popUp->count(), 1);
    EXPECT_EQ(popUp->itemText(0), QStringLiteral("Audio CD"));
    EXPECT_EQ(popUp->currentIndex(), -1);

    popUp->setCurrentIndex(0);
    emit popUp->activated(0);
    QCoreApplication::processEvents();
    EXPECT_EQ(Rows(), (std::vector<Row>{{"", "Audio CD", 2}, {"", "Audio CD", 5}}));
    EXPECT_EQ(window->CurrentIndex(), 0);

    // After the CD is gone, a rescan empties the pop-up and its label.
    fs::remove_all(folder);
    Find<QPushButton>(QStringLiteral("Rescan for CDs"))->click();
    QCoreApplication::processEvents();
    EXPECT_EQ(popUp->count(), 0);
    EXPECT_EQ(popUp->currentText(), QString());
}

TEST_F(CdPopUpTest, AVolumeNamedArtistDashAlbumTagsEveryRowOnEachChoice) {
    const fs::path folder = TrackFolder(root.path().toStdString() + "/Artist - Album/wav",
                                        {"Track 1.wav", "Track 2.wav"});
    kit::Message volume(MSG_CD_VOLUME);
    volume.Add("Volume", std::string("Artist - Album"));
    volume.Add("Folder", folder.string());
    Send(volume); // no "dev_t": nothing happens
    EXPECT_TRUE(Rows().empty());

    volume.Add("dev_t", int32_t{0});
    Send(volume);
    Send(volume);
    EXPECT_EQ(Rows(), (std::vector<Row>{{"Artist", "Album", 1},
                                        {"Artist", "Album", 1},
                                        {"Artist", "Album", 2},
                                        {"Artist", "Album", 2}}));
}

TEST_F(CdPopUpTest, ADiscWithoutAFolderIsReadWithItsProgressShownThenAdded) {
    const DiscImage image = WriteDiscImage(root.filePath(QStringLiteral("image")).toStdString(),
                                           {160, 3000}, "The Band", "Great Album");
    kit::Message volume(MSG_CD_VOLUME);
    volume.Add("Volume", std::string("The Band - Great Album"));
    volume.Add("Device", image.cue.string());
    volume.Add("dev_t", int32_t{0});
    const auto idle = [&] { return popUp->isEnabled(); };

    // Stop ends the reading at once and adds nothing.
    Send(volume);
    EXPECT_TRUE(status->text().startsWith(QStringLiteral("Reading CD")));
    EXPECT_FALSE(popUp->isEnabled());
    Send(kit::Message(MSG_STOP));
    ASSERT_TRUE(QTest::qWaitFor(idle, 60000));
    EXPECT_TRUE(Rows().empty());

    Send(volume);
    ASSERT_TRUE(QTest::qWaitFor(idle, 60000));
    EXPECT_EQ(Rows(),
              (std::vector<Row>{{"The Band", "Great Album", 1}, {"The Band", "Great Album", 2}}));
    EXPECT_EQ(status->text(), QStringLiteral("Encoding File: "));
}

} // namespace
