#include "cdaudio/DiscReader.h"

#include "DiscImage.h"
#include "cdaudio/TrackFiles.h"

#include <QTemporaryDir>
#include <algorithm>
#include <fcntl.h>
#include <fstream>
#include <gtest/gtest.h>
#include <sndfile.h>
#include <sys/stat.h>
#include <unistd.h>

namespace fs = std::filesystem;

namespace {

std::vector<int16_t> WavSamples(const fs::path& path) {
    SF_INFO info{};
    SNDFILE* file = sf_open(path.c_str(), SFM_READ, &info);
    if (file == nullptr) {
        return {};
    }
    std::vector<int16_t> samples(static_cast<size_t>(info.frames * info.channels));
    sf_read_short(file, samples.data(), static_cast<sf_count_t>(samples.size()));
    sf_close(file);
    return samples;
}

std::vector<int32_t> TrackNumbers(const fs::path& folder) {
    std::vector<int32_t> numbers;
    for (const TrackFile& file : ListTrackFiles(folder).value_or(std::vector<TrackFile>{})) {
        numbers.push_back(file.track);
    }
    std::sort(numbers.begin(), numbers.end());
    return numbers;
}

ino_t Inode(const fs::path& path) {
    struct stat info {};
    return ::stat(path.c_str(), &info) == 0 ? info.st_ino : 0;
}

// Every file under the folder whose name ends in ".part".
std::vector<fs::path> PartFiles(const fs::path& folder) {
    std::vector<fs::path> found;
    for (const fs::directory_entry& entry : fs::recursive_directory_iterator(folder)) {
        if (entry.path().extension() == ".part") {
            found.push_back(entry.path());
        }
    }
    return found;
}

class DiscReaderTest : public ::testing::Test {
protected:
    void SetUp() override {
        ASSERT_TRUE(dir.isValid());
        image = WriteDiscImage(root / "image", {160, 200, 170}, "The Band", "Great Album");
    }

    DiscReadResult Read(const DiscReadProgressFunction& progress = {}) {
        return ReadDisc(image.cue.string(), cache, stop, progress);
    }

    QTemporaryDir dir;
    fs::path root = dir.path().toStdString();
    fs::path cache = root / "cache";
    DiscImage image;
    std::atomic<bool> stop = false;
};

TEST_F(DiscReaderTest, WritesEachTrackAsAWavFileOfTheDiscsSamples) {
    std::vector<DiscReadProgress> reports;
    const DiscReadResult result = Read([&](const DiscReadProgress& p) { reports.push_back(p); });
    ASSERT_TRUE(result.Complete()) << result.error;
    EXPECT_EQ(result.name, "The Band - Great Album");
    EXPECT_EQ(result.folder.parent_path().parent_path(), cache);
    EXPECT_EQ(TrackNumbers(result.folder), (std::vector<int32_t>{1, 2, 3}));
    for (size_t track = 0; track < 3; ++track) {
        const fs::path file = result.folder / ("Track 0" + std::to_string(track + 1) + ".wav");
        EXPECT_EQ(WavSamples(file), image.TrackSamples(track)) << file;
    }
    EXPECT_TRUE(PartFiles(cache).empty());

    ASSERT_FALSE(reports.empty());
    EXPECT_EQ(reports.front().track, 1);
    EXPECT_EQ(reports.back().track, 3);
    EXPECT_EQ(reports.back().trackCount, 3);
    EXPECT_TRUE(std::is_sorted(reports.begin(), reports.end(), [](const auto& a, const auto& b) {
        return a.fraction < b.fraction;
    }));
    EXPECT_GE(reports.front().fraction, 0.0);
    EXPECT_LE(reports.back().fraction, 1.0);
}

TEST_F(DiscReaderTest, ReusesTheFolderOfADiscReadBefore) {
    const DiscReadResult first = Read();
    ASSERT_TRUE(first.Complete()) << first.error;
    // An open descriptor keeps the inode number from being handed to a new file.
    const int held = ::open((first.folder / "Track 01.wav").c_str(), O_RDONLY);
    int reports = 0;
    const DiscReadResult second = Read([&](const DiscReadProgress&) { ++reports; });
    EXPECT_TRUE(second.Complete());
    EXPECT_EQ(second.folder, first.folder);
    EXPECT_EQ(reports, 0);
    struct stat info {};
    ASSERT_EQ(::fstat(held, &info), 0);
    EXPECT_EQ(Inode(first.folder / "Track 01.wav"), info.st_ino);
    ::close(held);

    // Another disc gets a folder of its own; a folder missing a track is read again.
    const DiscImage other = WriteDiscImage(root / "other", {160, 200, 171}, "", "");
    const DiscReadResult third = ReadDisc(other.cue.string(), cache, stop, {});
    EXPECT_EQ(third.name, "Audio CD");
    EXPECT_NE(third.folder, first.folder);
    fs::remove(first.folder / "Track 02.wav");
    EXPECT_TRUE(Read().Complete());
    EXPECT_EQ(WavSamples(first.folder / "Track 02.wav"), image.TrackSamples(1));
}

TEST_F(DiscReaderTest, AStopKeepsTheWholeTracksOnlyAndTheNextReadGoesOn) {
    const DiscReadResult stopped =
        Read([&](const DiscReadProgress& p) { stop = stop || (p.track == 2 && p.fraction > 0.4); });
    EXPECT_TRUE(stopped.stopped);
    EXPECT_TRUE(stopped.error.empty());
    EXPECT_EQ(TrackNumbers(stopped.folder), (std::vector<int32_t>{1}));
    EXPECT_TRUE(PartFiles(cache).empty());
    EXPECT_FALSE(fs::exists(stopped.folder.parent_path() / "complete"));

    stop = false;
    const ino_t kept = Inode(stopped.folder / "Track 01.wav");
    std::vector<int32_t> tracksRead;
    const DiscReadResult resumed = Read([&](const DiscReadProgress& p) {
        EXPECT_EQ(p.trackCount, 2);
        tracksRead.push_back(p.track);
    });
    EXPECT_TRUE(resumed.Complete());
    EXPECT_EQ(Inode(stopped.folder / "Track 01.wav"), kept);
    EXPECT_EQ(tracksRead.front(), 2);
    EXPECT_EQ(TrackNumbers(resumed.folder), (std::vector<int32_t>{1, 2, 3}));
}

TEST_F(DiscReaderTest, AReadErrorNamesTheTrackAndKeepsWhatWasRead) {
    // The image loses everything from track 2 on while track 2 is being read. Track 2 is longer
    // than what paranoia reads ahead (1200 sectors), so some of it must come from the image.
    image = WriteDiscImage(root / "long", {160, 2500, 170}, "", "");
    const DiscReadResult failed = Read([&](const DiscReadProgress& p) {
        if (p.track == 2) {
            fs::resize_file(image.bin, static_cast<uintmax_t>(image.TrackOffset(1)));
        }
    });
    EXPECT_FALSE(failed.Complete());
    EXPECT_NE(failed.error.find("track 2"), std::string::npos) << failed.error;
    EXPECT_EQ(TrackNumbers(failed.folder), (std::vector<int32_t>{1}));
    EXPECT_EQ(WavSamples(failed.folder / "Track 01.wav"), image.TrackSamples(0));
    EXPECT_TRUE(PartFiles(cache).empty());
}

TEST_F(DiscReaderTest, ReportsADeviceWithoutAnAudioDisc) {
    const fs::path notADisc = root / "notes.txt";
    std::ofstream(notADisc) << "not a disc";
    for (const fs::path& device : {root / "missing.cue", notADisc}) {
        const DiscReadResult result = ReadDisc(device.string(), cache, stop, {});
        EXPECT_FALSE(result.Complete());
        EXPECT_FALSE(result.error.empty());
        EXPECT_TRUE(result.folder.empty());
    }
}

} // namespace
