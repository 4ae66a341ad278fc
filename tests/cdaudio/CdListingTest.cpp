#include "DiscImage.h"
#include "cdaudio/AudioCdLister.h"
#include "cdaudio/TrackFiles.h"
#include "tagging/FileAttributes.h"

#include <QTemporaryDir>
#include <QUrl>
#include <algorithm>
#include <fstream>
#include <gtest/gtest.h>
#include <sys/xattr.h>

namespace fs = std::filesystem;

namespace {

class CdListingTest : public ::testing::Test {
protected:
    void SetUp() override { ASSERT_TRUE(dir.isValid()); }

    [[nodiscard]] fs::path Path(const std::string& relative) const {
        return fs::path(dir.path().toStdString()) / relative;
    }
    fs::path Touch(const std::string& relative) const {
        const fs::path path = Path(relative);
        fs::create_directories(path.parent_path());
        std::ofstream(path) << "RIFF";
        return path;
    }
    // A mount table line mounting `source` at `mountPoint`, escaped as the kernel writes it.
    static std::string MountLine(const fs::path& mountPoint, const std::string& type,
                                 const std::string& source) {
        std::string escaped;
        for (const char c : mountPoint.string()) {
            escaped += c == ' ' ? std::string("\\040") : std::string(1, c);
        }
        return "50 1 11:0 / " + escaped + " ro - " + type + " " + source + " ro\n";
    }

    QTemporaryDir dir;
};

TEST_F(CdListingTest, TakesTrackNumbersFromTheAttributeElseTheNameFollowingLinks) {
    const fs::path folder = Path("wav");
    ASSERT_TRUE(WriteInt32Attribute(Touch("wav/Track 1.wav"), "Audio:Track", 7));
    Touch("wav/Track 2.wav");
    Touch("wav/cover.jpg");
    ASSERT_TRUE(WriteInt32Attribute(Touch("elsewhere.wav"), "Audio:Track", 3));
    fs::create_symlink(Path("elsewhere.wav"), folder / "Track 9.wav");
    const int16_t shortValue = 5; // not a 4-byte number: the name counts
    const fs::path odd = Touch("wav/Track 4.wav");
    ASSERT_EQ(::setxattr(odd.c_str(), "user.Audio:Track", &shortValue, sizeof shortValue, 0), 0);

    const std::optional<std::vector<TrackFile>> tracks = ListTrackFiles(folder);
    ASSERT_TRUE(tracks);
    std::vector<TrackFile> inFolderOrder;
    for (const fs::directory_entry& entry : fs::directory_iterator(folder)) {
        inFolderOrder.push_back({entry.path(), 0});
    }
    ASSERT_EQ(tracks->size(), inFolderOrder.size());
    for (size_t i = 0; i < tracks->size(); ++i) {
        EXPECT_EQ((*tracks)[i].path, inFolderOrder[i].path);
    }
    const auto trackOf = [&](const std::string& name) {
        return std::find_if(tracks->begin(), tracks->end(),
                            [&](const TrackFile& t) { return t.path == folder / name; })
            ->track;
    };
    EXPECT_EQ(trackOf("Track 1.wav"), 7);
    EXPECT_EQ(trackOf("Track 2.wav"), 2);
    EXPECT_EQ(trackOf("cover.jpg"), -1);
    EXPECT_EQ(trackOf("Track 9.wav"), 3);
    EXPECT_EQ(trackOf("Track 4.wav"), 4);
    EXPECT_FALSE(ListTrackFiles(Path("missing")));
}

TEST_F(CdListingTest, FindsNothingWithoutACd) {
    Touch("gvfs/smb-share:server=nas/file");
    const CdSearchPlaces places{MountLine(Path("data"), "ext4", "/dev/sda1") +
                                    MountLine(Path("iso"), "iso9660", "/dev/sr0"),
                                Path("gvfs"),
                                {Path("gvfs/smb-share:server=nas/file").string()}};
    EXPECT_TRUE(FindAudioCds(places).empty());
    EXPECT_TRUE(FindAudioCds({}).empty());
}

TEST_F(CdListingTest, ListsCdMountsWithAWavFolderAndGvfsCdFolders) {
    Touch("media/Artist - Album/wav/Track 1.wav");
    Touch("media/No Tracks/Track 1.wav");
    fs::create_directories(Path("gvfs/cdda:host=sr7"));
    Touch("gvfs/cdda:host=sr8"); // a file, not a CD folder
    const CdSearchPlaces places{MountLine(Path("media/Artist - Album"), "cdda", "/dev/sr0") +
                                    MountLine(Path("media/No Tracks"), "cdfs", "/dev/sr1"),
                                Path("gvfs"),
                                {}};
    const std::vector<AudioCd> expected = {
        {"Artist - Album", Path("media/Artist - Album/wav"), "/dev/sr0", 11 << 8},
        {"Audio CD", Path("gvfs/cdda:host=sr7"), "/dev/sr7", 0},
    };
    EXPECT_EQ(FindAudioCds(places), expected);
}

TEST_F(CdListingTest, ListsADriveWithAnAudioDiscOnceByItsCdText) {
    const DiscImage image = WriteDiscImage(Path("image"), {160, 170}, "The Band", "Great Album");
    const fs::path alias = Path("alias.cue");
    fs::create_symlink(image.cue, alias);
    const std::vector<std::string> drives = {image.cue.string(), alias.string(),
                                             Path("missing.cue").string()};

    const std::vector<AudioCd> alone = FindAudioCds({"", {}, drives});
    ASSERT_EQ(alone.size(), 1U);
    EXPECT_EQ(alone[0].label, "The Band - Great Album");
    EXPECT_TRUE(alone[0].NeedsReading());
    EXPECT_EQ(alone[0].device, image.cue.string());

    // Shown through a mount of its own, the drive is not listed again.
    Touch("media/Disc/wav/Track 1.wav");
    const std::vector<AudioCd> mounted =
        FindAudioCds({MountLine(Path("media/Disc"), "cdfs", alias.string()), {}, drives});
    ASSERT_EQ(mounted.size(), 1U);
    EXPECT_EQ(mounted[0].folder, Path("media/Disc/wav"));

    // Shown through the desktop's CD folder, it names that folder.
    const QByteArray host = QUrl::toPercentEncoding(QString::fromStdString(image.cue.string()));
    fs::create_directories(Path("gvfs/cdda:host=" + host.toStdString()));
    const std::vector<AudioCd> desktop = FindAudioCds({"", Path("gvfs"), drives});
    ASSERT_EQ(desktop.size(), 1U);
    EXPECT_EQ(desktop[0].label, "The Band - Great Album");
    EXPECT_FALSE(desktop[0].NeedsReading());
}

} // namespace
