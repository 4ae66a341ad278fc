// SPDX-License-Identifier: GPL-3.0-or-later
#include "cdaudio/DiscCache.h"

#include <QTemporaryDir>
#include <fstream>
#include <gtest/gtest.h>

namespace fs = std::filesystem;

namespace {

void WriteBytes(const fs::path& file, size_t count) {
    fs::create_directories(file.parent_path());
    std::ofstream(file) << std::string(count, 'x');
}

class DiscCacheTest : public ::testing::Test {
protected:
    void SetUp() override { ASSERT_TRUE(dir.isValid()); }

    QTemporaryDir dir;
    fs::path root = dir.path().toStdString();
    fs::path cache = root / "cache";
};

TEST_F(DiscCacheTest, ClearingRemovesOnlyWhatTheProgramWroteAndSaysWhatIsLeft) {
    ASSERT_EQ(MakeDiscFolder(cache, "a"), "");
    ASSERT_EQ(MakeDiscFolder(cache, "b"), "");
    WriteBytes(cache / "a" / "wav" / "Track 01.wav", 100);
    WriteBytes(cache / "a" / "Track 02.wav.part", 3);
    WriteBytes(cache / "b" / "wav" / "Track 01.wav", 50);
    // What the program never wrote: a stray file, a folder without the marker, a file of another
    // name in a disc's folder, and a link to a disc folder elsewhere.
    WriteBytes(cache / "stray", 7);
    WriteBytes(cache / "album" / "wav" / "Track 01.wav", 9);
    WriteBytes(cache / "a" / "wav" / "notes.txt", 11);
    ASSERT_EQ(MakeDiscFolder(root, "elsewhere"), "");
    WriteBytes(root / "elsewhere" / "wav" / "Track 01.wav", 13);
    fs::create_directory_symlink(root / "elsewhere", cache / "linked");
    EXPECT_EQ(MeasureDiscCache(cache), (DiscCacheUsage{153, 2, {}}));

    // Disc b is being read: its folder is locked, to every other reader too.
    const DiscFolderLock reading(cache / "b");
    ASSERT_EQ(reading.Result(), DiscFolderLock::State::Held) << reading.Error();
    EXPECT_EQ(DiscFolderLock(cache / "b").Result(), DiscFolderLock::State::Busy);

    // Disc a keeps its folder for the file the program did not write, and so still counts.
    EXPECT_EQ(ClearDiscCache(cache), (DiscCacheUsage{50, 2, {}}));
    EXPECT_FALSE(fs::exists(cache / "a" / "wav" / "Track 01.wav"));
    EXPECT_FALSE(fs::exists(cache / "a" / "Track 02.wav.part"));
    for (const fs::path& kept :
         {cache / "a" / "wav" / "notes.txt", cache / "b" / "wav" / "Track 01.wav", cache / "stray",
          cache / "album" / "wav" / "Track 01.wav", root / "elsewhere" / "wav" / "Track 01.wav"}) {
        EXPECT_TRUE(fs::exists(kept)) << kept;
    }
    fs::remove(cache / "a" / "wav" / "notes.txt");
    EXPECT_EQ(ClearDiscCache(cache), (DiscCacheUsage{50, 1, {}}));
    EXPECT_FALSE(fs::exists(cache / "a"));
    EXPECT_EQ(MeasureDiscCache(root / "missing"), DiscCacheUsage{});
}

TEST_F(DiscCacheTest, ACacheFolderThatIsALinkIsNeverUsed) {
    // The music collection, with a folder that looks like a disc's.
    const fs::path music = root / "Music";
    ASSERT_EQ(MakeDiscFolder(music, "album"), "");
    WriteBytes(music / "album" / "wav" / "Track 01.wav", 100);
    fs::create_directory_symlink(music, cache);

    const DiscCacheUsage usage = MeasureDiscCache(cache);
    EXPECT_EQ(usage.discs, 0);
    EXPECT_FALSE(usage.refused.empty());
    EXPECT_FALSE(ClearDiscCache(cache).refused.empty());
    RemoveLeftoverPartFiles(cache);
    EXPECT_TRUE(fs::exists(music / "album" / "wav" / "Track 01.wav"));
    EXPECT_NE(MakeDiscFolder(cache, "new"), "");
    EXPECT_FALSE(fs::exists(music / "new"));
}

} // namespace
