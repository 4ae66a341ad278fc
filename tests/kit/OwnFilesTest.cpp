// SPDX-License-Identifier: GPL-3.0-or-later
#include "kit/OwnFiles.h"

#include <QTemporaryDir>
#include <fstream>
#include <gtest/gtest.h>
#include <sys/stat.h>

namespace fs = std::filesystem;

namespace {

class OwnFilesTest : public ::testing::Test {
protected:
    void SetUp() override {
        ASSERT_TRUE(dir.isValid());
        std::ofstream(root / "file") << "contents";
        fs::create_directory(root / "folder");
        fs::create_symlink(root / "file", root / "file-link");
        fs::create_directory_symlink(root / "folder", root / "folder-link");
        ASSERT_EQ(::mkfifo((root / "fifo").c_str(), 0600), 0);
    }

    QTemporaryDir dir;
    fs::path root = dir.path().toStdString();
};

TEST_F(OwnFilesTest, OnlyRegularFilesWithinTheirSizeAreRead) {
    const std::vector<std::pair<std::string, std::optional<QByteArray>>> cases = {
        {"file", QByteArray("contents")}, {"file-link", std::nullopt}, {"folder", std::nullopt},
        {"fifo", std::nullopt},           {"missing", std::nullopt},
    };
    for (const auto& [name, bytes] : cases) {
        EXPECT_EQ(kit::ReadOwnFile(root / name, 8), bytes) << name;
    }
    EXPECT_EQ(kit::ReadOwnFile(root / "file", 7), std::nullopt);
}

TEST_F(OwnFilesTest, FoldersAreMadePrivateAndNeverTakenThroughALink) {
    EXPECT_EQ(kit::MakeOwnFolder(root / "made" / "inner"), QString());
    struct stat status {};
    ASSERT_EQ(::stat((root / "made" / "inner").c_str(), &status), 0);
    EXPECT_EQ(status.st_mode & 0777, 0700U);
    EXPECT_EQ(kit::MakeOwnFolder(root / "folder"), QString());
    for (const char* refused : {"folder-link", "file", "file-link"}) {
        EXPECT_NE(kit::MakeOwnFolder(root / refused), QString()) << refused;
    }
    EXPECT_FALSE(kit::WriteOwnFile(root / "file-link", "overwritten"));
    EXPECT_EQ(kit::ReadOwnFile(root / "file", 100), QByteArray("contents"));
    EXPECT_TRUE(kit::WriteOwnFile(root / "new", "written"));
    EXPECT_EQ(kit::ReadOwnFile(root / "new", 100), QByteArray("written"));
}

} // namespace
