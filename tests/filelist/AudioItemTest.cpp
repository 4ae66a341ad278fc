// SPDX-License-Identifier: GPL-3.0-or-later
#include "filelist/AudioItem.h"

#include "app/VambleApp.h"
#include "filelist/CheckBitmap.h"

#include <gtest/gtest.h>
#include <memory>

namespace {

class AudioItemTest : public ::testing::Test {
protected:
    void SetUp() override { checkBitmap = new kit::Bitmap(MakeCheckBitmap()); }
    void TearDown() override {
        delete checkBitmap;
        checkBitmap = nullptr;
    }

    static std::string Expand(const AudioItem& item, const char* pattern) {
        std::unique_ptr<char[]> name(item.CreateString(pattern));
        return name.get();
    }

    AudioItem item{kit::EntryRef{"/music/intro.wav"}};
};

} // namespace

TEST_F(AudioItemTest, StartsNotDoneWithoutTrackAndWithEmptyTags) {
    EXPECT_EQ(item.ref.path, "/music/intro.wav");
    EXPECT_FALSE(item.done);
    EXPECT_EQ(item.track, -1);
    const ID3_struct empty{};
    EXPECT_EQ(std::memcmp(&item.tag, &empty, sizeof empty), 0);
    EXPECT_EQ(item.GetColumnContentText(AudioItem::kSaveAsColumn), nullptr);
}

TEST_F(AudioItemTest, SettersCutToTheFieldWidths) {
    const std::string thirtyOne(31, 't');
    item.SetArtist("Artist");
    item.SetSongTitle(thirtyOne.c_str());
    EXPECT_EQ(TagText(item.tag.title), std::string(30, 't'));
    EXPECT_EQ(TagText(item.tag.artist), "Artist") << "the next field is untouched";
    item.SetYear("19999");
    EXPECT_EQ(TagText(item.tag.year), "1999");
    item.SetAlbum("Album");
    item.SetAlbum(nullptr);
    EXPECT_EQ(TagText(item.tag.album), "");
    item.SetComment(std::string(30, 'c').c_str());
    EXPECT_EQ(TagText(item.tag.comment), std::string(30, 'c'));
    item.SetGenre(84);
    EXPECT_EQ(item.tag.genre, 84);
}

TEST_F(AudioItemTest, CreateStringNamesTheOutputFromTheRow) {
    item.SetColumnContent(AudioItem::kSaveAsColumn, "intro.wav");
    item.track = 3;
    EXPECT_EQ(Expand(item, "%t-%s"), "03-intro") << "an empty title falls back to Save As";
    item.SetSongTitle("Overture");
    item.SetArtist("Band");
    EXPECT_EQ(Expand(item, "%a/%t-%s"), "Band/03-Overture");
    item.SetColumnContent(AudioItem::kSaveAsColumn, "Song.WAV");
    EXPECT_EQ(Expand(item, "%n"), "Song.WAV");
    item.track = -1;
    std::unique_ptr<char[]> empty(item.CreateString("%t"));
    ASSERT_NE(empty, nullptr);
    EXPECT_STREQ(empty.get(), "");
}

TEST_F(AudioItemTest, DoneRowsShowTheSharedCheckMarkOnce) {
    item.SetItemDone(true);
    item.SetItemDone(true);
    EXPECT_TRUE(item.done);
    EXPECT_EQ(item.GetColumnContentBitmap(AudioItem::kDoneColumn), checkBitmap);
    EXPECT_EQ(item.CellKind(AudioItem::kDoneColumn) & CELL_KIND_MASK, CELL_BITMAP);
    EXPECT_EQ(item.CellKind(AudioItem::kDoneColumn) & CELL_OWNS_BITMAP, 0u);
}

TEST_F(AudioItemTest, FullTitleTakesSaveAsOnlyWhereTheTitleIsItsCutAndDropsTheWavExtension) {
    const std::string longTitle = "Ünïcödé – a name far longer than thirty bytes";
    const std::string longName = longTitle + ".wav";
    ID3_struct cut{};
    SetTagText(cut.title, longName.c_str());
    struct Case {
        std::string saveAs;
        std::string title;
        std::string full;
    };
    for (const Case& c : {
             Case{longName, longName, longTitle}, // the title taken from the file name
             Case{"short.wav", "short.wav", "short"},
             Case{"Loud.WAV", "Loud.WAV", "Loud.WAV"}, // as "%s": lower case only
             Case{longName, "Given Title", "Given Title"},
             Case{"Renamed.wav", longName, std::string(TagText(cut.title))},
             Case{longName, "", ""},
         }) {
        item.SetColumnContent(AudioItem::kSaveAsColumn, c.saveAs.c_str());
        item.SetSongTitle(c.title.c_str());
        EXPECT_EQ(item.FullTitle(), c.full) << c.saveAs << " / " << c.title;
    }
}

TEST_F(AudioItemTest, FoundTagsFillTheFieldsAndKeepTheirFullTextsWhileTheFieldsHoldThem) {
    const std::string longArtist = "Ärtist with a name far longer than thirty bytes";
    FoundTags found;
    found.title = "Title";
    found.artist = longArtist;
    found.album = "Album";
    found.year = "1997";
    found.track = 7;
    found.genre = "alt. rock";
    item.TakeFoundTags(found);
    EXPECT_EQ(TagText(item.tag.artist), longArtist.substr(0, 30));
    EXPECT_EQ(item.FullArtist(), longArtist);
    EXPECT_EQ(item.FullTitle(), "Title");
    EXPECT_EQ(TagText(item.tag.year), "1997");
    EXPECT_EQ(item.track, 7);
    EXPECT_STREQ(item.GetColumnContentText(AudioItem::kTrackColumn), "7");
    EXPECT_TRUE(item.GenreGiven());
    EXPECT_EQ(item.tag.genre, 40); // "Alt. Rock", in any letter case

    // A value changed by hand wins over the full text; values not found stay.
    item.SetArtist("Typed");
    EXPECT_EQ(item.FullArtist(), "Typed");
    item.TakeFoundTags(FoundTags{"", "", "", "", "", "Synthwave", -1});
    EXPECT_EQ(item.FullAlbum(), "Album");
    EXPECT_EQ(item.track, 7);
    EXPECT_EQ(item.GenreName(), ""); // a genre was given already

    AudioItem fresh{kit::EntryRef{"/music/other.wav"}};
    fresh.TakeFoundTags(FoundTags{"", "", "", "", "", "Synthwave", -1});
    EXPECT_FALSE(fresh.GenreGiven());
    EXPECT_EQ(fresh.GenreName(), "Synthwave");
}

// A looked-up row's file gets the release's tags while its album is still the release's, and the
// track's own identifiers while its title is still the track's; the cover stays with the release.
TEST_F(AudioItemTest, ReleaseTagsReachTheFileOnlyWhileTheRowStillHoldsTheRelease) {
    ReleaseNames release;
    release.title = "Tide Tables: Collected Recordings of the Northern Coast";
    release.artist = "Nora Quist";
    release.date = "2004-05-01";
    release.releaseId = "release";
    release.tracks = {
        {2, "Spring Tide, the extended harbour version", "", {"artist"}, "rec", "", ""}};
    struct Case {
        const char* typedTitle; // null: as found
        const char* typedAlbum;
        bool release;
        bool recording;
    };
    const Case cases[] = {
        {nullptr, nullptr, true, true},
        {"Typed", nullptr, true, false},
        {nullptr, "Typed Album", false, false},
    };
    for (const Case& c : cases) {
        AudioItem row{kit::EntryRef{"/cd/Track 02.wav"}};
        row.SetReleaseNames(release, release.Track(2));
        row.release.frontCover = CoverPicture{"image/png", "png"};
        row.SetReleaseNames(release, release.Track(2)); // looked up again
        EXPECT_EQ(row.FullTitle(), release.tracks[0].title);
        EXPECT_EQ(TagText(row.tag.year), "2004");
        if (c.typedTitle != nullptr) {
            row.SetSongTitle(c.typedTitle);
        }
        if (c.typedAlbum != nullptr) {
            row.SetAlbum(c.typedAlbum);
        }
        const ReleaseTags held = row.HeldReleaseTags();
        EXPECT_EQ(held.releaseId, c.release ? "release" : "") << c.typedAlbum;
        EXPECT_EQ(held.frontCover.has_value(), c.release) << c.typedAlbum;
        EXPECT_EQ(held.recordingId, c.recording ? "rec" : "") << c.typedTitle;
    }
}
