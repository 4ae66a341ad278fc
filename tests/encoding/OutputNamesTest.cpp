#include "encoding/OutputNames.h"

#include "encoding/EncoderCommand.h"

#include <gtest/gtest.h>

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

} // namespace
