// SPDX-License-Identifier: GPL-3.0-or-later
#include "bubblehelp/BubbleGeometry.h"

#include <gtest/gtest.h>

TEST(BubbleGeometryTest, TextSizeIsTheWidestWholeLineByAllLines) {
    EXPECT_EQ(BubbleTextSize({40.7f, 120.9f, 80.0f}, 14.0f), (BubbleSize{120.0f, 46.0f}));
}

TEST(BubbleGeometryTest, BubbleGoesBelowThePointerUnlessAnEdgeIsNear) {
    const kit::Rect screen(0, 0, 1023, 767);
    struct Case {
        const char* where;
        kit::Point pointer;
        kit::Rect screen;
        kit::Rect frame;
    };
    for (const Case& c : {
             Case{"middle", {200, 300}, screen, {200, 320, 304, 350}},
             Case{"bottom just fits", {200, 714}, screen, {200, 734, 304, 764}},
             // Above the pointer, its bottom 4 above it.
             Case{"near the bottom", {200, 715}, screen, {200, 681, 304, 711}},
             Case{"right just fits", {919, 300}, screen, {919, 320, 1023, 350}},
             Case{"near the right", {1000, 300}, screen, {919, 320, 1023, 350}},
             Case{"second screen", {2000, 100}, {1024, 0, 2047, 767}, {1943, 120, 2047, 150}},
         }) {
        EXPECT_EQ(BubbleFrame(c.pointer, {100.0f, 30.0f}, c.screen), c.frame) << c.where;
    }
}
