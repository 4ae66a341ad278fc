// SPDX-License-Identifier: GPL-3.0-or-later
// Disc IDs from known tables of contents, and the services' answers read into names.
#include "lookup/CddbAnswer.h"
#include "lookup/DiscIds.h"
#include "lookup/MusicBrainzAnswer.h"
#include "support/LoopbackServer.h"

#include <gtest/gtest.h>
#include <optional>

namespace {

const std::string kDiscId = "ohhlX44vA82K1SAvWfO52oJ_ZxQ-";

TEST(DiscIdsTest, KnownTablesGiveTheirIdsAndImpossibleOnesNone) {
    // libdiscid's own published example, and the three-track disc of the recorded answers.
    const DiscToc published{1,
                            {150, 17510, 33275, 45910, 57805, 78310, 94650, 109580, 132010, 149160,
                             165115, 177710, 203325, 215555, 235590},
                            258725};
    const auto ids = ComputeDiscIds(published);
    ASSERT_TRUE(ids);
    EXPECT_EQ(ids->musicBrainz, "TqvKjMu7dMliSfmVEBtrL7sBSno-");
    EXPECT_EQ(ids->freedb, "b60d770f");
    EXPECT_EQ(ComputeDiscIds({1, {150, 15000, 30000}, 45000})->musicBrainz, kDiscId);

    for (const DiscToc& impossible :
         {DiscToc{1, {}, 45000}, DiscToc{1, {150, 15000}, 10000}, DiscToc{1, {15000, 150}, 45000},
          DiscToc{0, {150}, 45000}, DiscToc{99, {150, 15000}, 45000}}) {
        EXPECT_FALSE(ComputeDiscIds(impossible)) << impossible.trackOffsets.size();
    }
}

TEST(MusicBrainzAnswerTest, OneReleaseGivesEveryName) {
    const MusicBrainzAnswer answer =
        ParseMusicBrainzDisc(AnswerFile("musicbrainz-one-release.json"), kDiscId);
    ASSERT_FALSE(answer.malformed);
    ASSERT_EQ(answer.releases.size(), 1U);
    const ReleaseNames& release = answer.releases[0];
    EXPECT_EQ(release.title, "Tide Tables");
    EXPECT_EQ(release.artist, "Nora Quist & The Ebb");
    EXPECT_EQ(release.artistIds.size(), 2U);
    EXPECT_EQ(release.Year(), "2004");
    EXPECT_EQ(release.country, "GB");
    // Every label and catalogue number once, in the answer's order.
    EXPECT_EQ(release.labels, (std::vector<std::string>{"Harbour Records", "Ebb Tide Music"}));
    EXPECT_EQ(release.catalogNumbers, (std::vector<std::string>{"HBR 042", "EBB 7"}));
    EXPECT_EQ(release.originalDate, "1997-05-21");
    EXPECT_EQ(release.barcode, "5012345678900");
    EXPECT_EQ(release.releaseGroupId, "9d2f4b6c-4444-4c3b-8d6e-0123456789ab");
    EXPECT_EQ(release.discId, kDiscId);
    EXPECT_FALSE(release.noFrontCover);
    EXPECT_EQ(release.discNumber, 1);
    EXPECT_EQ(release.discCount, 1);
    EXPECT_EQ(release.trackCount, 3);
    ASSERT_EQ(release.tracks.size(), 3U);
    EXPECT_EQ(release.Track(2)->title, "Spring Tide (feat. Ülla Brandt)");
    EXPECT_EQ(release.Track(2)->artist, "Nora Quist feat. Ülla Brandt");
    EXPECT_EQ(release.Track(2)->recordingId, "f1000000-0000-4000-8000-000000000002");
    EXPECT_EQ(release.Track(2)->trackId, "e1000000-0000-4000-8000-000000000002");
    EXPECT_EQ(release.Track(2)->isrc, "GBAAA0400002"); // the first of the ISRC's shape
    EXPECT_EQ(release.Track(3)->isrc, "");
    // A track without a title or credit of its own takes its recording's.
    EXPECT_EQ(release.Track(3)->title, "Slack");
    EXPECT_EQ(release.Track(3)->artist, "The Ebb");
    EXPECT_EQ(release.Track(4), nullptr);
}

TEST(MusicBrainzAnswerTest, TheMediumHoldingTheDiscGivesTracksAndDiscNumber) {
    const MusicBrainzAnswer answer =
        ParseMusicBrainzDisc(AnswerFile("musicbrainz-two-releases.json"), kDiscId);
    ASSERT_EQ(answer.releases.size(), 2U);
    const ReleaseNames& boxSet = answer.releases[0];
    EXPECT_EQ(boxSet.discNumber, 2);
    EXPECT_EQ(boxSet.discCount, 2);
    EXPECT_EQ(boxSet.Track(1)->title, "Low Water (Live)");
    EXPECT_TRUE(boxSet.noFrontCover);
    EXPECT_EQ(boxSet.Year(), "2011");
    EXPECT_TRUE(answer.releases[1].labels.empty());
    EXPECT_EQ(answer.releases[1].disambiguation, "first pressing");
    EXPECT_EQ(boxSet.format, "CD");
}

TEST(MusicBrainzAnswerTest, AnythingButItsJsonIsMalformed) {
    for (const char* text : {"", "<html>busy</html>", "[]", R"({"releases": 3})",
                             R"({"releases": [1, 2]})", R"({"releases": [{"title": "x"})"}) {
        EXPECT_TRUE(ParseMusicBrainzDisc(text, kDiscId).malformed) << text;
    }
    // The answer of a disc no release holds any more.
    const MusicBrainzAnswer none = ParseMusicBrainzDisc(R"({"id": "x", "releases": []})", kDiscId);
    EXPECT_FALSE(none.malformed);
    EXPECT_TRUE(none.releases.empty());
}

TEST(MusicBrainzAnswerTest, IdsOfAnyOtherShapeMakeTheAnswerMalformed) {
    const QByteArray answer = AnswerFile("musicbrainz-one-release.json");
    for (const char* id : {"5a1c0b7e-8a5f-4d3e-9d0e-6f1c2b3a4d5e",    // the release
                           "9d2f4b6c-4444-4c3b-8d6e-0123456789ab",    // its release group
                           "0a7e4f2c-1111-4c3b-8d6e-0123456789ab",    // an artist
                           "f1000000-0000-4000-8000-000000000002",    // a recording
                           "e1000000-0000-4000-8000-000000000002"}) { // a track
        for (const char* bad : {"../../../../../../.bashrc", "a/b", "/dev/zero", "not-an-id",
                                "5A1C0B7E-8A5F-4D3E-9D0E-6F1C2B3A4D5E"}) {
            const MusicBrainzAnswer parsed =
                ParseMusicBrainzDisc(QByteArray(answer).replace(id, bad), kDiscId);
            EXPECT_TRUE(parsed.malformed) << id << " as " << bad;
            EXPECT_TRUE(parsed.releases.empty()) << id << " as " << bad;
        }
    }
}

TEST(MusicBrainzAnswerTest, NamesAreCleanedOfControlAndDirectionCharacters) {
    const QByteArray answer =
        AnswerFile("musicbrainz-one-release.json")
            .replace("\"Tide Tables\"", R"("Tide\nTables\u0000\u202Egpj.exe")");
    const MusicBrainzAnswer parsed = ParseMusicBrainzDisc(answer, kDiscId);
    ASSERT_EQ(parsed.releases.size(), 1U);
    EXPECT_EQ(parsed.releases[0].title, "Tide Tablesgpj.exe");
}

TEST(CddbAnswerTest, QueryAnswers) {
    struct Case {
        std::string text;
        std::vector<CddbMatch> matches;
        bool error;
    };
    const std::vector<Case> cases = {
        {"200 rock 08025603 Nora Quist / Tide Tables\r\n",
         {{"rock", "08025603", "Nora Quist / Tide Tables"}},
         false},
        {AnswerFile("gnudb-query-exact.txt").toStdString(),
         {{"rock", "08025603", "Various / Coastal Sampler"},
          {"misc", "08025603", "Various / Coastal Sampler (alt)"}},
         false},
        {"211 close matches found\n"
         "jazz 0a025603 Someone / Else\n.\n",
         {{"jazz", "0a025603", "Someone / Else"}},
         false},
        {"202 No match found\r\n", {}, false},
        {"403 Database entry is corrupt\r\n", {}, true},
        {"<html>gateway</html>", {}, true},
        {"", {}, true},
        {"210 Found exact matches\r\n.\r\n", {}, true},
        // Found by fuzzing: a bare status, and a line that begins with a blank.
        {"200", {}, true},
        {"211 close matches found\n rock 08025603 x\n.\n", {}, true},
        // A category or a disc ID that is none names no entry to read.
        {"200 ../.. 08025603 x\r\n", {}, true},
        {"200 rock ../x/y x\r\n", {}, true},
        {"210 Found exact matches\r\nrock 0802560Z x\r\nRock 08025603 x\r\n.\r\n", {}, true},
    };
    for (const Case& c : cases) {
        const CddbQueryAnswer answer = ParseCddbQuery(c.text);
        EXPECT_EQ(answer.matches, c.matches) << c.text;
        EXPECT_EQ(!answer.error.empty(), c.error) << c.text;
    }
}

TEST(CddbAnswerTest, ReadAnswerGivesNamesOfDiscAndTracks) {
    const CddbReadAnswer read = ParseCddbRead(AnswerFile("gnudb-read.txt").toStdString());
    ASSERT_TRUE(read.release) << read.error;
    EXPECT_EQ(read.release->artist, "Various");
    EXPECT_EQ(read.release->title, "Coastal Sampler");
    EXPECT_EQ(read.release->Year(), "1999");
    EXPECT_EQ(read.release->trackCount, 3);
    EXPECT_EQ(read.release->Track(1)->artist, "Nora Quist");
    EXPECT_EQ(read.release->Track(1)->title, "Low Water");
    EXPECT_EQ(read.release->Track(2)->title,
              "A Title So Long That The Entry Carries It Over Two Lines Of The File");
    EXPECT_EQ(read.release->Track(3)->artist, "Various");
    EXPECT_EQ(read.release->Track(3)->title, "Slack Tide"); // its escaped tab a space

    // One artist: both halves of DTITLE, and a " / " in a track title stays.
    const CddbReadAnswer single = ParseCddbRead(
        "210 rock 1 entry\nDTITLE=Nora Quist / Tide Tables\nTTITLE0=Either / Or\n.\n");
    ASSERT_TRUE(single.release);
    EXPECT_EQ(single.release->Track(1)->artist, "Nora Quist");
    EXPECT_EQ(single.release->Track(1)->title, "Either / Or");

    for (const char* refused :
         {"401 Specified CDDB entry not found.\r\n", "", "210 rock x\r\n.\r\n"}) {
        const CddbReadAnswer none = ParseCddbRead(refused);
        EXPECT_FALSE(none.release) << refused;
        EXPECT_FALSE(none.error.empty()) << refused;
    }
}

TEST(CddbAnswerTest, EntriesAreReadAsUtf8ElseLatin1AndCleaned) {
    struct Case {
        std::string entry;
        std::optional<std::string> title; // of the first track; none when refused
    };
    const std::vector<Case> cases = {
        {"TTITLE0=Caf\xC3\xA9 Se\xC3\xB1ores", "Café Señores"},
        {"TTITLE0=Caf\xE9 Se\xF1ores", "Café Señores"}, // Latin-1, as older entries are
        {"TTITLE0=Tab\\tand\\nbreak", "Tab and break"},
        {"TTITLE0=Bell\x07 photo\xE2\x80\xAEgpj.exe", "Bell photogpj.exe"},
        {std::string("T\0T\0I\0T\0L\0E\0", 12), std::nullopt}, // UTF-16
    };
    for (const Case& c : cases) {
        const CddbReadAnswer read =
            ParseCddbRead("210 rock 08025603\nDTITLE=A / B\n" + c.entry + "\n.\n");
        ASSERT_EQ(read.release.has_value(), c.title.has_value()) << c.entry;
        if (c.title) {
            EXPECT_EQ(read.release->Track(1)->title, *c.title);
        } else {
            EXPECT_FALSE(read.error.empty());
        }
    }
}

} // namespace
