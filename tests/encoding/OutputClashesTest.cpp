// SPDX-License-Identifier: GPL-3.0-or-later
#include "encoding/OutputClashes.h"

#include <QTemporaryDir>
#include <fstream>
#include <gtest/gtest.h>
#include <set>

TEST(OutputClashesTest, LaterRowsOfOnePathAndFilesOnDiskClash) {
    const std::set<std::string> onDisk = {"/out/old.mp3", "/out//old.mp3"};
    const auto exists = [&](std::string_view path) {
        return onDisk.contains(std::string(path)) || path == "/out/OLD.mp3";
    };
    struct Case {
        const char* what;
        std::vector<std::string_view> paths;
        std::vector<OutputClash> expected;
    };
    const Case cases[] = {
        {"distinct files", {"/out/a.mp3", "/out/b.mp3"}, {{}, {}}},
        {"two rows to one file",
         {"/out/a.mp3", "/out/b.mp3", "/out/a.mp3"},
         {{}, {}, {ClashKind::SameAsRow, 0}}},
        {"empty and \".\" levels name the same file",
         {"/out///song.mp3", "/out/./song.mp3", "/out/song.mp3", "/out/./"},
         {{}, {ClashKind::SameAsRow, 0}, {ClashKind::SameAsRow, 0}, {}}},
        {"\"..\" is left to the disk", {"/out/a/../b.mp3", "/out/b.mp3"}, {{}, {}}},
        {"an existing file, then a row of the same path",
         {"/out/old.mp3", "/out//old.mp3"},
         {{ClashKind::ExistingFile, 0}, {ClashKind::SameAsRow, 0}}},
        {"rows writing nothing take no part", {"", "/out/a.mp3", ""}, {{}, {}, {}}},
        {"names differing only in letter case are one file (as on vfat and exFAT)",
         {"/out/Song.mp3", "/out/SONG.mp3", "/out/Ünï.mp3", "/out/üNÏ.mp3", "/out/OLD.mp3"},
         {{},
          {ClashKind::SameAsRow, 0},
          {},
          {ClashKind::SameAsRow, 2},
          {ClashKind::ExistingFile, 0}}},
    };
    for (const Case& c : cases) {
        EXPECT_EQ(FindOutputClashes(c.paths, exists), c.expected) << c.what;
    }
}

TEST(OutputClashesTest, TheDiskIsAskedFileByFileOrByFolderListingsAlike) {
    QTemporaryDir dir;
    ASSERT_TRUE(dir.isValid());
    const std::string root = dir.path().toStdString();
    std::ofstream(root + "/file.mp3") << "x";
    std::filesystem::create_symlink(root + "/gone", root + "/link.mp3");
    const std::pair<std::string, bool> cases[] = {
        {root + "/file.mp3", true},      {root, true},
        {root + "/link.mp3", true},      {root + "/new.mp3", false},
        {root + "/new/file.mp3", false}, {root + "/file.mp3/x.mp3", false},
        {root + "//file.mp3", true},     {"relative.mp3", false},
    };
    FolderListings listings;
    for (const auto& [path, expected] : cases) {
        EXPECT_EQ(FileExistsOnDisk(path), expected) << path;
        EXPECT_EQ(listings.Exists(path), expected) << path;
    }
    // A folder's listing finds a name whatever its letter case, as a vfat folder would.
    EXPECT_TRUE(listings.Exists(root + "/FILE.mp3"));
}

TEST(OutputClashesTest, AClaimedFileCannotBeClaimedAgainUntilCleared) {
    OutputPathSet claims;
    EXPECT_TRUE(claims.Insert("/out/a/song.mp3"));
    EXPECT_FALSE(claims.Insert("/out/a//song.mp3"));
    EXPECT_FALSE(claims.Insert("/out/./a/Song.MP3"));
    EXPECT_TRUE(claims.Contains("/out/A/song.mp3"));
    EXPECT_TRUE(claims.Insert("/out/b/song.mp3"));
    claims.Clear();
    EXPECT_TRUE(claims.Insert("/out/a/song.mp3"));
}
