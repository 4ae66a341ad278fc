#include "cdaudio/DiscReader.h"

#include "DiscImage.h"
#include "cdaudio/TrackFiles.h"

#include <QTemporaryDir>
#include <algorithm>
#include <fstream>
#include <gtest/gtest.h>
#include <sndfile.h>
#include <sys/stat.h>

namespace fs = std::filesystem;

namespace {

std::vector<int16_t> WavSamples(const fs::path& path) {
    SF_INFO info{};
    SNDFILE* file = sf_open(path.c_str(), SFM_READ, &info);
    std::vector<int16_t> samples(file ? static_cast<size_t>(info.frames * info.channels) : 0);
    if (file != nullptr) {
        sf_read_short(file, samples.data(), static_cast<sf_count_t>(samples.size()));
        sf_close(file);
    }
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

// The identity of a file's data: a file replaced by another has another inode.
ino_t Inode(const fs::path& path) {
    struct stat info {};
    return ::stat(path.c_str(), &info) == 0 ? info.st_ino : 0;
}

bool HasPartFiles(const fs::path& folder) {
    return std::any_of(
        fs::recursive_directory_iterator(folder), {},
        [](const fs::directory_entry& e) { return e.path().extension() == ".part"; });
}

class DiscReaderTest : public ::testing::Test {
protected:
    void SetUp() override { ASSERT_TRUE(dir.isValid()); }

    DiscReadResult Read(const DiscReadProgressFunction& progress = {}) {
        return ReadDisc(image.cue.string(), cache, stop, progress);
    }

    QTemporaryDir dir;
    fs::path root = dir.path().toStdString();
    fs::path cache = root / "cache";
    DiscImage image = WriteDiscImage(root / "image", {160, 200, 170}, "The Band", "Great Album");
    std::atomic<bool> stop = false;
};

TEST_F(DiscReaderTest, WritesEachTrackAsAWavFileOfTheDiscsSamples) {
    std::vector<DiscReadProgress> reports;
    const DiscReadResult result = Read([&](const DiscReadProgress& p) { reports.push_back(p); });
    ASSERT_TRUE(result.Complete()) << result.error;
    EXPECT_EQ(result.name, "The Band - Great Album");
    EXPECT_EQ(TrackNumbers(result.folder), (std::vector<int32_t>{1, 2, 3}));
    for (size_t track = 0; track < 3; ++track) {
        const fs::path file = result.folder / ("Track 0" + std::to_string(track + 1) + ".wav");
        EXPECT_EQ(WavSamples(file), image.tracks[track]) << file;
    }
    EXPECT_FALSE(HasPartFiles(cache));

    ASSERT_FALSE(reports.empty());
    EXPECT_EQ(reports.front().track, 1);
    EXPECT_EQ(reports.back().track, 3);
    EXPECT_EQ(reports.back().trackCount, 3);
    EXPECT_TRUE(std::is_sorted(reports.begin(), reports.end(), [](const auto& a, const auto& b) {
        return a.fraction < b.fraction;
    }));
}

TEST_F(DiscReaderTest, ReadsADiscOnceWhileItsFolderIsWhole) {
    const DiscReadResult first = Read();
    ASSERT_TRUE(first.Complete()) << first.error;
    const fs::path track1 = first.folder / "Track 01.wav";
    const fs::path track2 = first.folder / "Track 02.wav";
    std::ifstream held(track1); // keeps the inode number from going to a new file
    const ino_t kept = Inode(track1);
    int reports = 0;
    const DiscReadResult second = Read([&](const DiscReadProgress&) { ++reports; });
    EXPECT_TRUE(second.Complete());
    EXPECT_EQ(second.folder, first.folder);
    EXPECT_EQ(reports, 0);
    EXPECT_EQ(Inode(track1), kept);

    // A folder missing a track is made whole again; another disc gets a folder of its own.
    fs::remove(track2);
    EXPECT_TRUE(Read().Complete());
    EXPECT_EQ(WavSamples(track2), image.tracks[1]);
    const DiscImage other = WriteDiscImage(root / "other", {160, 200, 171}, "", "");
    const DiscReadResult third = ReadDisc(other.cue.string(), cache, stop, {});
    EXPECT_EQ(third.name, "Audio CD");
    EXPECT_NE(third.folder, first.folder);
}

TEST_F(DiscReaderTest, AStopKeepsOnlyWholeTracksAndTheNextReadGoesOn) {
    const DiscReadResult stopped =
        Read([&](const DiscReadProgress& p) { stop = stop || (p.track == 2 && p.fraction > 0.4); });
    EXPECT_TRUE(stopped.stopped);
    EXPECT_TRUE(stopped.error.empty());
    EXPECT_EQ(TrackNumbers(stopped.folder), (std::vector<int32_t>{1}));
    EXPECT_FALSE(HasPartFiles(cache));

    stop = false;
    const ino_t kept = Inode(stopped.folder / "Track 01.wav");
    std::vector<int32_t> tracksRead;
    EXPECT_TRUE(Read([&](const DiscReadProgress& p) { tracksRead.push_back(p.track); }).Complete());
    EXPECT_EQ(Inode(stopped.folder / "Track 01.wav"), kept);
    EXPECT_EQ(tracksRead.front(), 2);
    EXPECT_EQ(TrackNumbers(stopped.folder), (std::vector<int32_t>{1, 2, 3}));
}

TEST_F(DiscReaderTest, AReadErrorNamesTheTrackAndKeepsWhatWasRead) {
    // The image loses everything from track 2 on as track 2 starts. Track 2 is longer than what
    // paranoia reads ahead (1200 sectors), so some of it must come from the lost part.
    image = WriteDiscImage(root / "long", {160, 2500, 170}, "", "");
    const DiscReadResult failed = Read([&](const DiscReadProgress& p) {
        if (p.track == 2) {
            fs::resize_file(image.bin, image.tracks[0].size() * 2);
        }
    });
    EXPECT_NE(failed.error.find("track 2"), std::string::npos) << failed.error;
    EXPECT_EQ(TrackNumbers(failed.folder), (std::vector<int32_t>{1}));
    EXPECT_EQ(WavSamples(failed.folder / "Track 01.wav"), image.tracks[0]);
    EXPECT_FALSE(HasPartFiles(cache));

    std::ofstream(root / "notes.txt") << "not a disc";
    for (const fs::path& device : {root / "missing.cue", root / "notes.txt"}) {
        const DiscReadResult result = ReadDisc(device.string(), cache, stop, {});
        EXPECT_FALSE(result.error.empty()) << device;
        EXPECT_TRUE(result.folder.empty()) << device;
    }
}

} // namespace
