// SPDX-License-Identifier: GPL-3.0-or-later
#include "encoding/OutputNames.h"

#include "encoding/EncoderCommand.h"

#include <QString>
#include <gtest/gtest.h>
#include <string>
#include <vector>

namespace {

TEST(OutputNamesTest, WhatUsbSticksRefuseBecomesAnUnderscoreInEachComponent) {
    const std::pair<const char*, const char*> cases[] = {
        {"What?", "What_"},
        {"AC:DC/Live*At <Home>|x\\y\"z", "AC_DC/Live_At _Home__x_y_z"},
        {"The End.", "The End_"},
        {"Dots../and spaces  /x", "Dots__/and spaces__/x"},
        {"Tab\there", "Tab_here"},
        {"Ünïcödé/01-Song", "Ünïcödé/01-Song"},
        {".hidden/a.b", ".hidden/a.b"},
    };
    for (const auto& [name, safe] : cases) {
        EXPECT_EQ(WindowsSafeName(name), safe) << name;
    }
}

TEST(OutputNamesTest, TheFoldersMountSaysWhetherItsNamesAreWindowsNames) {
    const char* table = "22 1 8:1 / / rw - ext4 /dev/sda1 rw\n"
                        "40 22 8:17 / /media/u/STICK rw - vfat /dev/sdb1 rw\n"
                        "41 22 8:33 / /media/u/EX rw - exfat /dev/sdc1 rw\n"
                        "42 22 7:0 / /media/u/FUSE rw - fuseblk /dev/loop0 rw\n"
                        "43 40 0:50 / /media/u/STICK/inner rw - tmpfs tmpfs rw\n";
    const std::pair<const char*, bool> cases[] = {
        {"/media/u/STICK", true},          {"/media/u/STICK/Music/Album", true},
        {"/media/u/STICKER/Music", false}, {"/media/u/STICK/inner/x", false},
        {"/media/u/EX/x", true},           {"/media/u/FUSE", true},
        {"/home/u/Music", false},
    };
    for (const auto& [folder, windows] : cases) {
        EXPECT_EQ(TakesOnlyWindowsNames(table, folder), windows) << folder;
    }
}

TEST(OutputNamesTest, APlanOnSuchAFolderWritesTheSafeNameAndTakesADoubleQuote) {
    EncoderSettings settings;
    settings.outputDir = "/media/u/STICK";
    settings.windowsNames = true;
    const OutputPlan plan = PlanOutputPath(settings, "Say \"Hi\"/What?");
    EXPECT_EQ(plan.status, CommandStatus::Ready);
    EXPECT_EQ(plan.outputPath, "/media/u/STICK/Say _Hi_/What_.mp3");
    settings.windowsNames = false;
    EXPECT_EQ(PlanOutputPath(settings, "Say \"Hi\"/What?").status, CommandStatus::UnsafePath);
}

TEST(OutputNamesTest, EachComponentIsCutToWhatAFileSystemAllowsOnACharacterBoundary) {
    const auto repeat = [](const std::string& piece, size_t times) {
        std::string text;
        for (size_t i = 0; i < times; ++i) {
            text += piece;
        }
        return text;
    };
    struct Case {
        std::string name;
        bool windows;
        std::string fitted;
    };
    const std::vector<Case> cases = {
        {repeat("a", 300), false, repeat("a", 251)},
        {repeat("a", 300) + "/x", false, repeat("a", 255) + "/x"},
        {repeat("é", 200), false, repeat("é", 125)}, // two bytes each
        {repeat("é", 200), true, repeat("é", 200)},  // one UTF-16 unit each
        {repeat("😀", 130), false, repeat("😀", 62)},  // four bytes each
        {repeat("😀", 130), true, repeat("😀", 125)},  // two units each
        {"Short/Name", false, "Short/Name"},
    };
    for (const Case& c : cases) {
        EXPECT_EQ(FitNameLengths(c.name, c.windows, ".mp3"), c.fitted) << c.name.size();
    }

    EncoderSettings settings;
    settings.outputDir = "/music";
    const OutputPlan plan = PlanOutputPath(settings, repeat("Ünïcödé ", 25));
    const std::string leaf = plan.outputPath.filename().string();
    EXPECT_LE(leaf.size(), 255U);
    EXPECT_TRUE(leaf.ends_with(".mp3"));
    EXPECT_TRUE(QString::fromStdString(leaf).toStdString() == leaf) << "valid UTF-8";
}

} // namespace
