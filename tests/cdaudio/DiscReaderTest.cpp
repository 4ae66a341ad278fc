// SPDX-License-Identifier: GPL-3.0-or-later
#include "cdaudio/DiscReader.h"

#include "DiscImage.h"
#include "cdaudio/DiscCache.h"
#include "cdaudio/TrackFiles.h"

#include <QTemporaryDir>
#include <algorithm>
#include <chrono>
#include <fstream>
#include <gtest/gtest.h>
#include <sndfile.h>
#include <sys/stat.h>
#include <thread>

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

    DiscReadResult Read(const DiscReadProgressFunction& progress = {},
                        const DriveFaults& faults = {}) {
        return ReadDisc(image.cue.string(), cache, stop, progress, faults);
    }
    // A drive that cannot read the sectors from `first` to before `end`.
    static DriveFaults Unreadable(int32_t first, int32_t end) {
        return [first, end](int32_t sector) {
            return sector >= first && sector < end ? SectorFault::Unreadable : SectorFault::None;
        };
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
    EXPECT_EQ(result.disc.Label(), "The Band - Great Album");
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
    EXPECT_EQ(third.disc.Label(), "Audio CD");
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

TEST_F(DiscReaderTest, UnreadableSectorsKeepATrackFromBeingWholeUntilItIsReadAgain) {
    // Ten sectors in the middle of track 2 cannot be read.
    const DiscReadResult damaged = Read({}, Unreadable(250, 260));
    EXPECT_FALSE(damaged.Complete());
    EXPECT_TRUE(damaged.error.empty()) << damaged.error;
    ASSERT_EQ(damaged.damaged.size(), 1U);
    const DamagedTrack& track = damaged.damaged[0];
    EXPECT_EQ(track.track, 2);
    // At least those; a drive failing a read loses the readable sectors the read asked for too.
    EXPECT_GE(track.sectors, 10);
    EXPECT_LT(track.sectors, 40);
    EXPECT_EQ(WavSamples(track.file).size(), image.tracks[1].size());
    EXPECT_EQ(TrackNumbers(damaged.folder), (std::vector<int32_t>{1, 3}));

    const DiscReadResult again = Read();
    EXPECT_TRUE(again.Complete()) << again.error;
    EXPECT_EQ(WavSamples(again.folder / "Track 02.wav"), image.tracks[1]);
    EXPECT_FALSE(fs::exists(track.file));
}

TEST_F(DiscReaderTest, AnUnreadableFirstOrLastSectorIsDamageAndNothingElse) {
    // The disc's first sector, a track's first and the disc's last.
    const std::vector<std::pair<int32_t, int32_t>> cases = {{0, 1}, {160, 2}, {529, 3}};
    for (const auto& [unreadable, track] : cases) {
        fs::remove_all(cache);
        const DiscReadResult result = Read({}, Unreadable(unreadable, unreadable + 1));
        EXPECT_TRUE(result.error.empty()) << unreadable << ": " << result.error;
        ASSERT_EQ(result.damaged.size(), 1U) << unreadable;
        EXPECT_EQ(result.damaged[0].track, track) << unreadable;
        EXPECT_GE(result.damaged[0].sectors, 1) << unreadable;
        if (!result.damaged[0].file.empty()) {
            EXPECT_EQ(WavSamples(result.damaged[0].file).size(),
                      image.tracks[static_cast<size_t>(track - 1)].size())
                << unreadable;
        }
        EXPECT_EQ(TrackNumbers(result.folder).size(), 2U) << unreadable;
    }
}

// A scratch: fifty sectors that read as other data each time cannot be verified, so the verifier
// skips them, and a track with a skipped sector is damaged, not whole.
TEST_F(DiscReaderTest, SectorsTheVerifierSkipsAreDamage) {
    const DiscReadResult result = Read({}, [](int32_t sector) {
        return sector >= 250 && sector < 300 ? SectorFault::Unstable : SectorFault::None;
    });
    EXPECT_TRUE(result.error.empty()) << result.error;
    ASSERT_EQ(result.damaged.size(), 1U);
    EXPECT_EQ(result.damaged[0].track, 2);
    EXPECT_GE(result.damaged[0].sectors, 1);
    EXPECT_EQ(TrackNumbers(result.folder), (std::vector<int32_t>{1, 3}));
}

TEST_F(DiscReaderTest, AnUnreadableTrackKeepsNoneOfTheOthersFromBeingRead) {
    const DiscReadResult result = Read({}, Unreadable(160, 360));
    EXPECT_TRUE(result.error.empty()) << result.error;
    EXPECT_EQ(result.damaged, (std::vector<DamagedTrack>{{2, 200, {}}}));
    EXPECT_EQ(TrackNumbers(result.folder), (std::vector<int32_t>{1, 3}));
    EXPECT_EQ(WavSamples(result.folder / "Track 03.wav"), image.tracks[2]);
    EXPECT_FALSE(HasPartFiles(cache));

    std::ofstream(root / "notes.txt") << "not a disc";
    for (const fs::path& device : {root / "missing.cue", root / "notes.txt"}) {
        const DiscReadResult failed = ReadDisc(device.string(), cache, stop, {});
        EXPECT_FALSE(failed.error.empty()) << device;
        EXPECT_TRUE(failed.folder.empty()) << device;
    }
}

TEST_F(DiscReaderTest, ASecondReaderOfTheDiscWaitsForTheFirst) {
    image = WriteDiscImage(root / "long", {160, 2000, 170}, "", "");
    std::atomic<bool> secondWaits = false;
    std::atomic<bool> secondDone = false;
    DiscReadResult second;
    std::thread secondReader;
    // The second read starts while the first is in the middle of track 2; the first goes on
    // once the second waits for it (or, were there no lock, has read the disc itself).
    const DiscReadResult first = Read([&](const DiscReadProgress& progress) {
        if (progress.track != 2 || progress.fraction < 0.3 || secondReader.joinable()) {
            return;
        }
        secondReader = std::thread([&] {
            second =
                Read([&](const DiscReadProgress& p) { secondWaits = secondWaits || p.waiting; });
            secondDone = true;
        });
        while (!secondWaits && !secondDone) {
            std::this_thread::sleep_for(std::chrono::milliseconds(5));
        }
    });
    ASSERT_TRUE(secondReader.joinable());
    secondReader.join();
    EXPECT_TRUE(secondWaits);
    EXPECT_TRUE(first.Complete()) << first.error;
    EXPECT_TRUE(second.Complete()) << second.error;
    for (size_t track = 0; track < 3; ++track) {
        const fs::path file = first.folder / ("Track 0" + std::to_string(track + 1) + ".wav");
        EXPECT_EQ(WavSamples(file), image.tracks[track]) << file;
    }
}

TEST_F(DiscReaderTest, ALinkLeftAtAPartFileIsNeverWrittenThrough) {
    const DiscReadResult first = Read();
    ASSERT_TRUE(first.Complete()) << first.error;
    fs::remove(first.folder / "Track 01.wav");
    std::ofstream(root / "victim") << "precious";
    fs::create_symlink(root / "victim", first.folder.parent_path() / "Track 01.wav.part");
    // A part file that a crash left in another disc's folder goes at the next read too.
    ASSERT_EQ(MakeDiscFolder(cache, "other"), "");
    std::ofstream(cache / "other" / "Track 05.wav.part") << "left";

    EXPECT_TRUE(Read().Complete());
    EXPECT_EQ(WavSamples(first.folder / "Track 01.wav"), image.tracks[0]);
    std::string victim;
    std::getline(std::ifstream(root / "victim"), victim);
    EXPECT_EQ(victim, "precious");
    EXPECT_FALSE(HasPartFiles(cache));
}

TEST_F(DiscReaderTest, ADiscWithTheSameTrackLengthsGetsAFolderOfItsOwn) {
    const DiscReadResult first = Read();
    const DiscImage twin = WriteDiscImage(root / "twin", {160, 200, 170}, "", "", 1);
    const DiscReadResult second = ReadDisc(twin.cue.string(), cache, stop, {});
    ASSERT_TRUE(second.Complete()) << second.error;
    EXPECT_EQ(second.disc.tracks, first.disc.tracks);
    EXPECT_NE(second.folder, first.folder);
    for (size_t track = 0; track < 3; ++track) {
        const fs::path file = second.folder / ("Track 0" + std::to_string(track + 1) + ".wav");
        EXPECT_EQ(WavSamples(file), twin.tracks[track]) << file;
    }
}

} // namespace
