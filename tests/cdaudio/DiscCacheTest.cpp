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

TEST(DiscCacheTest, ClearingLeavesOnlyTheDiscsBeingReadAndSaysWhatIsLeft) {
    const QTemporaryDir dir;
    ASSERT_TRUE(dir.isValid());
    const fs::path cache = fs::path(dir.path().toStdString()) / "cache";
    WriteBytes(cache / "a" / "wav" / "Track 01.wav", 100);
    WriteBytes(cache / "b" / "wav" / "Track 01.wav", 50);
    WriteBytes(cache / "stray", 7);
    EXPECT_EQ(MeasureDiscCache(cache), (DiscCacheUsage{157, 2}));

    // Disc b is being read: its folder is locked, to every other reader too.
    const DiscFolderLock reading(cache / "b");
    ASSERT_EQ(reading.Result(), DiscFolderLock::State::Held) << reading.Error();
    EXPECT_EQ(DiscFolderLock(cache / "b").Result(), DiscFolderLock::State::Busy);

    EXPECT_EQ(ClearDiscCache(cache), (DiscCacheUsage{50, 1}));
    EXPECT_FALSE(fs::exists(cache / "a"));
    EXPECT_TRUE(fs::exists(cache / "b" / "wav" / "Track 01.wav"));
    EXPECT_EQ(MeasureDiscCache(dir.path().toStdString() + "/missing"), DiscCacheUsage{});
}

} // namespace
