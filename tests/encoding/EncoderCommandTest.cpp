// SPDX-License-Identifier: GPL-3.0-or-later
#include "encoding/EncoderCommand.h"

#include "support/TmpfsMount.h"

#include <QTemporaryDir>
#include <cstdlib>
#include <fstream>
#include <gtest/gtest.h>
#include <optional>
#include <sys/stat.h>
#include <unistd.h>

namespace fs = std::filesystem;

namespace {

// Replaces every `from` in `text` by `to`.
std::string Replaced(std::string text, const std::string& from, const std::string& to) {
    for (size_t at = text.find(from); at != std::string::npos;
         at = text.find(from, at + to.size())) {
        text.replace(at, from.size(), to);
    }
    return text;
}

class EncoderCommandTest : public ::testing::Test {
protected:
    void SetUp() override {
        ASSERT_TRUE(dir_.isValid());
        const char* home = std::getenv("HOME");
        ASSERT_NE(home, nullptr);
        home_ = home;
        source_ = root_ + "/song.wav";
        std::ofstream(source_) << "RIFF";
        std::ofstream(root_ + "/plain") << "x";
    }

    // ROOT stands for the test's folder, HOME for the home folder.
    [[nodiscard]] std::string Path(const std::string& text) const {
        return Replaced(Replaced(text, "ROOT", root_), "HOME", home_);
    }

    QTemporaryDir dir_;
    std::string root_ = dir_.path().toStdString();
    std::string home_;
    std::string source_;
};

TEST_F(EncoderCommandTest, CommandTexts) {
    const struct {
        EncoderSettings settings;
        const char* outputName;
        const char* expected; // SRC and DIR stand for the source and the output folder
    } cases[] = {
        {{.outputFormat = "J-Stereo", .vbrEnabled = true, .vbrLevel = 4},
         "03-Intro",
         R"(gogo "SRC" "DIR/03-Intro.mp3" -b 128 -cpu 1 -v 4 -m j -priority 10 )"},
        {{.addExtension = false},
         "03-Intro",
         R"(gogo "SRC" "DIR/03-Intro" -b 128 -cpu 1 -m s -priority 10 )"},
        {{}, "", R"(gogo "SRC" "DIR/.mp3" -b 128 -cpu 1 -m s -priority 10 )"},
        {{.addExtension = false}, "", R"(gogo "SRC" "DIR/" -b 128 -cpu 1 -m s -priority 10 )"},
        {{.bitrate = "", .outputFormat = ""},
         "x",
         R"(gogo "SRC" "DIR/x.mp3" -b 128 -cpu 1 -m s -priority 10 )"},
        {{.bitrate = "320", .outputFormat = "Mono", .vbrEnabled = true},
         "x",
         R"(gogo "SRC" "DIR/x.mp3" -b 320 -cpu 1 -v 0 -m m -priority 10 )"},
        {{.cpuCount = 2.9, .vbrEnabled = true, .vbrLevel = 3.99, .priority = 9.5},
         "x",
         R"(gogo "SRC" "DIR/x.mp3" -b 128 -cpu 2 -v 3 -m s -priority 9 )"},
        {{.outputFormat = "Stereo", .noPsy = true, .deleteInput = true},
         "x",
         R"(gogo "SRC" "DIR/x.mp3" -b 128 -cpu 1 -nopsy -m s -priority 10 -delete )"},
    };
    const mode_t mask = umask(0);
    umask(mask);
    for (size_t i = 0; i < std::size(cases); ++i) {
        // A folder of its own for each case, missing with its parent.
        const std::string folder = root_ + "/" + std::to_string(i) + "/out";
        EncoderSettings settings = cases[i].settings;
        settings.outputDir = folder;
        const EncoderCommand command = BuildEncoderCommand(settings, source_, cases[i].outputName);
        EXPECT_EQ(command.status, CommandStatus::Ready) << command.detail;
        EXPECT_EQ(command.text,
                  Replaced(Replaced(cases[i].expected, "SRC", source_), "DIR", folder));
        EXPECT_EQ(fs::status(folder).permissions(), fs::perms(0777 & ~mask)) << folder;
    }
}

TEST_F(EncoderCommandTest, OutputFolders) {
    const struct {
        const char* what;
        std::string outputDir;
        std::string outputName;
        CommandStatus status;
        std::string outputPath;
        std::string folder; // made when the command is ready, else never made
    } cases[] = {
        {"name folders", "ROOT/out", "Artist/Album/03-Intro", CommandStatus::Ready,
         "ROOT/out/Artist/Album/03-Intro.mp3", "ROOT/out/Artist/Album"},
        {"trailing slash", "ROOT/slash/", "x", CommandStatus::Ready, "ROOT/slash/x.mp3",
         "ROOT/slash"},
        {"home", "~/music/", "x", CommandStatus::Ready, "HOME/music/x.mp3", "HOME/music"},
        {"home alone", "~", "x", CommandStatus::Ready, "HOME/x.mp3", ""},
        {"relative", "new/mp3", "x", CommandStatus::Ready, "HOME/new/mp3/x.mp3", "HOME/new/mp3"},
        {"root alone", "/", "x", CommandStatus::OutputDirectoryError, "", ""},
        {"empty", "", "x", CommandStatus::OutputDirectoryError, "", ""},
        {"folder through a file", "ROOT/plain/out", "x", CommandStatus::OutputDirectoryError,
         "ROOT/plain/out/x.mp3", ""},
        {"output folder is a file", "ROOT/plain", "x", CommandStatus::NoCommand, "ROOT/plain/x.mp3",
         ""},
        {"file in the way of a name folder", "ROOT", "plain/sub/x",
         CommandStatus::OutputDirectoryError, "ROOT/plain/sub/x.mp3", ""},
        // A name component is cut to the 255 bytes a file system allows.
        {"name too long", "ROOT", std::string(300, 'n') + "/x", CommandStatus::Ready,
         "ROOT/" + std::string(255, 'n') + "/x.mp3", "ROOT/" + std::string(255, 'n')},
        {"quote in the name", "ROOT/quoted", "A \"B\"/x", CommandStatus::UnsafePath,
         "ROOT/quoted/A \"B\"/x.mp3", "ROOT/quoted"},
    };
    for (const auto& c : cases) {
        EncoderSettings settings;
        settings.outputDir = Path(c.outputDir);
        const OutputPlan plan = PlanOutputPath(settings, c.outputName);
        EXPECT_TRUE(c.folder.empty() || !fs::exists(Path(c.folder))) << c.what;

        const EncoderCommand command = BuildEncoderCommand(settings, source_, c.outputName);
        EXPECT_EQ(command.status, c.status) << c.what << ": " << command.detail;
        EXPECT_EQ(command.outputPath, Path(c.outputPath)) << c.what;
        EXPECT_EQ(plan.outputPath, command.outputPath) << c.what;
        EXPECT_EQ(command.text.empty(), c.status != CommandStatus::Ready) << c.what;
        EXPECT_EQ(command.detail.empty(), c.status == CommandStatus::Ready) << c.what;
        if (!c.folder.empty()) {
            EXPECT_EQ(fs::is_directory(Path(c.folder)), c.status == CommandStatus::Ready) << c.what;
        }
    }
}

TEST_F(EncoderCommandTest, SourceThatCannotBeUsedGivesNoCommand) {
    EncoderSettings settings;
    settings.outputDir = root_;
    const EncoderCommand missing = BuildEncoderCommand(settings, root_ + "/gone.wav", "x");
    EXPECT_EQ(missing.status, CommandStatus::NoCommand);
    EXPECT_NE(missing.detail.find(root_ + "/gone.wav"), std::string::npos) << missing.detail;

    const std::string quoted = root_ + "/say \"hi\".wav";
    std::ofstream(quoted) << "RIFF";
    const EncoderCommand unsafe = BuildEncoderCommand(settings, quoted, "x");
    EXPECT_EQ(unsafe.status, CommandStatus::UnsafePath);
    EXPECT_NE(unsafe.detail.find(quoted), std::string::npos) << unsafe.detail;
    EXPECT_TRUE(unsafe.text.empty());
}

// Root ignores permission bits, so as root the folder is a read-only mount.
TEST_F(EncoderCommandTest, ReadOnlyOutputFolder) {
    const std::string folder = root_ + "/locked";
    std::optional<TmpfsMount> readOnly;
    if (geteuid() == 0) {
        readOnly.emplace(folder, MS_RDONLY, "size=64k");
        if (!readOnly->Mounted()) {
            GTEST_SKIP() << "running as root where no read-only file system can be mounted";
        }
    } else {
        fs::create_directory(folder);
        chmod(folder.c_str(), 0555);
    }
    EncoderSettings settings;
    settings.outputDir = folder;
    EXPECT_EQ(BuildEncoderCommand(settings, source_, "03-Intro").status, CommandStatus::Ready);

    const EncoderCommand command = BuildEncoderCommand(settings, source_, "Artist/03-Intro");
    EXPECT_EQ(command.status, CommandStatus::WriteProtected);
    EXPECT_STREQ(AlertMessage(command.status),
                 "It seems the volume/directory you are writing to is write protect.");
    EXPECT_FALSE(fs::exists(folder + "/Artist"));
    chmod(folder.c_str(), 0755);
}

} // namespace
