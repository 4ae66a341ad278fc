// SPDX-License-Identifier: GPL-3.0-or-later
// The look-up's view of a disc as a drive describes it, after the description has travelled as a
// message (as it does from the CD pop-up and a disc read to the window).
#include "lookup/DiscSource.h"

#include "cdaudio/DiscInfo.h"

#include <gtest/gtest.h>

namespace {

DiscTrack Track(int32_t number, int32_t firstSector, bool audio) {
    return {number, firstSector, 1000, audio, "Title " + std::to_string(number), "Performer"};
}

TEST(DiscSourceTest, TheAudioTracksInARowWithTheirAddressesFromTheDiscsStart) {
    struct Case {
        const char* what;
        std::vector<DiscTrack> tracks;
        DiscToc toc;
    };
    const Case cases[] = {
        {"audio only", {Track(1, 0, true), Track(2, 14850, true)}, {1, {150, 15000}, 30150}},
        // The audio session ends before the data session's lead-out and lead-in.
        {"enhanced CD",
         {Track(1, 0, true), Track(2, 14850, true), Track(3, 25000, false)},
         {1, {150, 15000}, 25000 + 150 - 11400}},
        {"mixed mode", {Track(1, 0, false), Track(2, 14850, true)}, {2, {15000}, 30150}},
    };
    for (const Case& c : cases) {
        DiscInfo info{c.tracks, 30000, "Oxygene", "Jean-Michel Jarre"};
        const std::optional<DiscInfo> travelled = DiscInfo::From(info.ToMessage());
        ASSERT_EQ(travelled, info) << c.what;
        const std::optional<DiscSource> source = DiscSourceOf(*travelled);
        ASSERT_TRUE(source) << c.what;
        EXPECT_EQ(source->toc, c.toc) << c.what;
        EXPECT_EQ(source->cdText.title, "Oxygene");
        EXPECT_EQ(source->cdText.artist, "Jean-Michel Jarre");
        ASSERT_EQ(source->cdText.tracks.size(), c.toc.trackOffsets.size()) << c.what;
        // Places on the disc count from its first audio track.
        EXPECT_EQ(source->cdText.Track(1)->title, "Title " + std::to_string(c.toc.firstTrack));
    }
    EXPECT_FALSE(DiscSourceOf(DiscInfo{{Track(1, 0, false)}, 30000, "", ""}));
}

} // namespace
