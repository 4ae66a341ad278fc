// SPDX-License-Identifier: GPL-3.0-or-later
#include "DiscImage.h"
#include "cdaudio/AudioCdLister.h"
#include "cdaudio/TrackFiles.h"
#include "kit/Attributes.h"

#include <QTemporaryDir>
#include <QUrl>
#include <fstream>
#include <gtest/gtest.h>
#include <sys/xattr.h>

namespace fs = std::filesystem;

namespace {

class CdListingTest : public ::testing::Test {
protected:
    void SetUp() override { ASSERT_TRUE(dir.isValid()); }

    [[nodiscard]] fs::path Path(const std::string& relative) const { return root / relative; }
    void Touch(const std::string& relative) const {
        fs::create_directories(Path(relative).parent_path());
        std::ofstream(Path(relative)) << "RIFF";
    }
    // A mount table line as the kernel writes it, blanks escaped.
    [[nodiscard]] std::string MountLine(const std::string& mountPoint, const std::string& type,
                                        const std::string& source,
                                        const std::string& device = "11:0") const {
        const QString escaped = QString::fromStdString(Path(mountPoint).string())
                                    .replace(QLatin1Char(' '), QStringLiteral("\\040"));
        return "50 1 " + device + " / " + escaped.toStdString() + " ro - " + type + " " + source +
               " ro\n";
    }

    QTemporaryDir dir;
    fs::path root = dir.path().toStdString();
};

TEST_F(CdListingTest, ListsTracksInTrackOrderNumberedByAttributeElseName) {
    for (const char* name : {"wav/Track 1.wav", "wav/cover.jpg", "wav/Track 2.wav",
                             "wav/Track 4.wav", "elsewhere.wav"}) {
        Touch(name);
    }
    ASSERT_TRUE(kit::WriteInt32Attribute(Path("wav/Track 1.wav"), "Audio:Track", 7));
    ASSERT_TRUE(kit::WriteInt32Attribute(Path("elsewhere.wav"), "Audio:Track", 3));
    fs::create_symlink(Path("elsewhere.wav"), Path("wav/Track 9.wav"));
    const int16_t tooShort = 5;
    ASSERT_EQ(::setxattr(Path("wav/Track 4.wav").c_str(), "user.Audio:Track", &tooShort,
                         sizeof tooShort, 0),
              0);

    const std::vector<TrackFile> expected = {{Path("wav/Track 2.wav"), 2},
                                             {Path("wav/Track 9.wav"), 3},
                                             {Path("wav/Track 4.wav"), 4},
                                             {Path("wav/Track 1.wav"), 7},
                                             {Path("wav/cover.jpg"), -1}};
    EXPECT_EQ(ListTrackFiles(Path("wav")), expected);
    EXPECT_FALSE(ListTrackFiles(Path("missing")));

    // A folder posing as a CD with thousands of entries gives no more than the cap.
    for (size_t i = 0; i < kMostCdFolderEntries + 50; ++i) {
        Touch("many/Track " + std::to_string(i) + ".wav");
    }
    EXPECT_EQ(ListTrackFiles(Path("many"))->size(), kMostCdFolderEntries);
}

TEST_F(CdListingTest, ListsCdMountsWithAWavFolderAndGvfsCdFoldersOnly) {
    EXPECT_TRUE(FindAudioCds({}).empty());
    Touch("media/Artist - Album/wav/Track 1.wav");
    Touch("media/No Tracks/Track 1.wav");
    fs::create_directories(Path("gvfs/cdda:host=sr7"));
    fs::create_directories(Path("gvfs/smb-share:server=nas"));
    Touch("gvfs/cdda:host=sr8"); // a file, not a CD's folder
    const std::vector<AudioCd> expected = {
        {"Artist - Album",
         Path("media/Artist - Album/wav"),
         "/dev/sr0",
         11 << 8,
         {"Artist", "Album"},
         {}},
        {"Audio CD", Path("gvfs/cdda:host=sr7"), "/dev/sr7", 0, {"", "Audio CD"}, {}},
    };
    // The same disc mounted a second time is one CD.
    Touch("media/Again/wav/Track 1.wav");
    EXPECT_EQ(FindAudioCds({MountLine("data", "ext4", "/dev/sda1", "8:1") +
                                MountLine("media/Artist - Album", "cdda", "/dev/sr0") +
                                MountLine("media/Again", "cdda", "/dev/sr0") +
                                MountLine("media/No Tracks", "cdfs", "/dev/sr1", "11:1"),
                            Path("gvfs"),
                            {Path("media/No Tracks/Track 1.wav")}}),
              expected);
}

TEST_F(CdListingTest, ListsADriveWithAnAudioDiscOnceByItsCdText) {
    const DiscImage image =
        WriteDiscImage(Path("image"), {160, 170}, "Jean-Michel Jarre", "Oxygene");
    fs::create_symlink(image.cue, Path("alias.cue"));
    const std::vector<std::string> drives = {image.cue, Path("alias.cue"), Path("missing.cue")};

    const std::vector<AudioCd> alone = FindAudioCds({"", {}, drives});
    ASSERT_EQ(alone.size(), 1U);
    EXPECT_EQ(alone[0].label, "Jean-Michel Jarre - Oxygene");
    // The CD-Text fields themselves, not the label split at its first "-".
    EXPECT_EQ(alone[0].tags, (ArtistAlbum{"Jean-Michel Jarre", "Oxygene"}));
    EXPECT_TRUE(alone[0].NeedsReading());
    EXPECT_EQ(alone[0].device, image.cue.string());
    // What the drive told travels with the CD, for a look-up to start from.
    ASSERT_TRUE(alone[0].disc);
    EXPECT_EQ(alone[0].disc->tracks.size(), 2U);

    // Shown through a mount, the drive is not listed again.
    Touch("media/Disc/wav/Track 1.wav");
    const std::vector<AudioCd> mounted =
        FindAudioCds({MountLine("media/Disc", "cdfs", Path("alias.cue")), {}, drives});
    ASSERT_EQ(mounted.size(), 1U);
    EXPECT_EQ(mounted[0].folder, Path("media/Disc/wav"));

    // Shown through the desktop's CD folder, it names that folder.
    const QByteArray host = QUrl::toPercentEncoding(QString::fromStdString(image.cue));
    fs::create_directories(Path("gvfs/cdda:host=" + host.toStdString()));
    const std::vector<AudioCd> desktop = FindAudioCds({"", Path("gvfs"), drives});
    ASSERT_EQ(desktop.size(), 1U);
    EXPECT_EQ(desktop[0].label, "Jean-Michel Jarre - Oxygene");
    EXPECT_EQ(desktop[0].tags, (ArtistAlbum{"Jean-Michel Jarre", "Oxygene"}));
    EXPECT_FALSE(desktop[0].NeedsReading());
    EXPECT_EQ(desktop[0].disc, alone[0].disc);
}

// A disc's CD-Text is outside input, in Latin-1: its control characters (an escape sequence,
// C1's CSI) are taken out before anything shows or names it; a name pattern keeps "/" out of
// output names.
TEST_F(CdListingTest, ADiscsCdTextIsCleanedBeforeItIsShown) {
    const DiscImage image =
        WriteDiscImage(Path("image"), {160, 170}, "Evil\x1b[31m\x9b", "../../Album\x07");
    const std::vector<AudioCd> found = FindAudioCds({"", {}, {image.cue}});
    ASSERT_EQ(found.size(), 1U);
    EXPECT_EQ(found[0].tags, (ArtistAlbum{"Evil[31m", "../../Album"}));
    EXPECT_EQ(found[0].label, "Evil[31m - ../../Album");
}

} // namespace
