// SPDX-License-Identifier: GPL-3.0-or-later
#include "kit/FeatureModule.h"

#include <algorithm>
#include <gtest/gtest.h>

TEST(FeatureModule, AModuleThatCannotBeLoadedGivesNoTableAndIsToldOnce) {
    testing::internal::CaptureStderr();
    EXPECT_EQ(kit::FeatureTable("absent"), nullptr);
    EXPECT_EQ(kit::FeatureTable("absent"), nullptr);
    const std::string told = testing::internal::GetCapturedStderr();
    EXPECT_EQ(std::count(told.begin(), told.end(), '\n'), 1) << told;
    EXPECT_NE(told.find("libvamble-absent.so"), std::string::npos) << told;
}
