// SPDX-License-Identifier: GPL-3.0-or-later
#include "kit/FeatureModule.h"

#include "cdaudio/CdModule.h"
#include "encoding/AudioModule.h"
#include "tagging/TagsModule.h"

#include <algorithm>
#include <gtest/gtest.h>

TEST(FeatureModule, AModuleThatCannotBeLoadedGivesNoTableAndIsToldOnce) {
    testing::internal::CaptureStderr();
    EXPECT_EQ(kit::FeatureTable("absent", 1, 8), nullptr);
    EXPECT_EQ(kit::FeatureTable("absent", 1, 8), nullptr);
    const std::string told = testing::internal::GetCapturedStderr();
    EXPECT_EQ(std::count(told.begin(), told.end(), '\n'), 1) << told;
    EXPECT_NE(told.find("libvamble-absent.so"), std::string::npos) << told;
}

// A module left over from another build of the program, whose table has another version or
// size, is refused rather than called.
TEST(FeatureModule, OnlyATableOfTheSameVersionAndSizeIsTaken) {
    struct Case {
        const char* module;
        uint32_t version;
        size_t size;
        bool taken;
    };
    for (const Case& c : {Case{"audio", AudioModule::kVersion + 1, sizeof(AudioModule), false},
                          Case{"tags", TagsModule::kVersion, sizeof(TagsModule) + 8, false},
                          Case{"cd", CdModule::kVersion, sizeof(CdModule), true}}) {
        testing::internal::CaptureStderr();
        EXPECT_EQ(kit::FeatureTable(c.module, c.version, c.size) != nullptr, c.taken) << c.module;
        const std::string told = testing::internal::GetCapturedStderr();
        EXPECT_EQ(told.find("another version") != std::string::npos, !c.taken) << told;
    }
}
