// SPDX-License-Identifier: GPL-3.0-or-later
#include "cdaudio/MountTable.h"
#include "cdaudio/TrackFiles.h"
#include "cdaudio/VolumeName.h"

#include <gtest/gtest.h>

namespace {

TEST(VolumeNameTest, SplitsAtTheFirstDashDroppingOneCharacterEachSide) {
    struct Case {
        const char* name;
        const char* artist;
        const char* album;
    };
    const Case cases[] = {
        {"Artist - Album", "Artist", "Album"},
        {"Audio CD", "", "Audio CD"},
        {"A - B - C", "A", "B - C"},
        {"- Album", "", "Album"},
        {"-", "", ""},
        {"Artist -", "Artist", ""},
        {"Artist-", "Artis", ""},
        {"", "", ""},
        // A dropped character is a whole UTF-8 sequence.
        {"R\xC3\xB3-\xC3\x81g\xC3\xA6", "R", "g\xC3\xA6"},
    };
    for (const Case& c : cases) {
        const ArtistAlbum split = SplitVolumeName(c.name);
        EXPECT_EQ(split.artist, c.artist) << c.name;
        EXPECT_EQ(split.album, c.album) << c.name;
    }
}

TEST(MountTableTest, ReadsMountsWithEscapesAndSkipsBrokenLines) {
    const std::string text =
        "22 1 8:1 / / rw,relatime shared:1 - ext4 /dev/sda1 rw\n"
        "40 22 11:0 / /media/Artist\\040-\\040Album rw master:3 shared:4 - cdda /dev/sr0 ro\n"
        "41 22 11:1 / /mnt/a\\134b\\011c rw - cdfs /dev/sr\\0401 ro\n"
        "42 22 11:2 / /mnt/x rw cdfs /dev/sr2 ro\n"    // no "-" separator
        "43 22 eleven:2 / /mnt/y rw - cdfs /dev/sr2\n" // bad device number
        "44 22 0:5 / /mnt/z\n"                         // too short
        "46 22 11:3 / /mnt/e ro - cdda  ro\n"          // mounted without a source
        "47 22 11:4 / /mnt/f ro -  /dev/sr4 ro\n"      // no type
        "\n"
        "45 22 0:6 / /run/user/1000/gvfs rw - fuse.gvfsd-fuse gvfsd-fuse rw"; // no final newline
    const std::vector<MountEntry> expected = {
        {8, 1, "/", "ext4", "/dev/sda1"},
        {11, 0, "/media/Artist - Album", "cdda", "/dev/sr0"},
        {11, 1, "/mnt/a\\b\tc", "cdfs", "/dev/sr 1"},
        {11, 3, "/mnt/e", "cdda", ""},
        {0, 6, "/run/user/1000/gvfs", "fuse.gvfsd-fuse", "gvfsd-fuse"},
    };
    EXPECT_EQ(ParseMountInfo(text), expected);
    EXPECT_TRUE(ParseMountInfo("").empty());
}

TEST(MountTableTest, LeavesBackslashesThatAreNoOctalEscapeAlone) {
    EXPECT_EQ(UnescapeMountField("a\\x\\04\\8000\\"), "a\\x\\04\\8000\\");
    EXPECT_EQ(UnescapeMountField("\\134040"), "\\040");
}

TEST(TrackFilesTest, ReadsTrackNumbersFromNames) {
    struct Case {
        const char* name;
        int32_t track;
    };
    const Case cases[] = {
        {"Track 7.wav", 7},  {"Track 07.wav", 7},  {"track_12.WAV", 12},
        {"TRACK-3.Wav", 3},  {"Track7.wav", 7},    {"Track .wav", -1},
        {"Track 7.mp3", -1}, {"Track -7.wav", -1}, {"Track 7a.wav", -1},
        {"Song 7.wav", -1},  {"Track", -1},        {"Track 99999999999.wav", -1},
    };
    for (const Case& c : cases) {
        EXPECT_EQ(TrackNumberFromName(c.name), c.track) << c.name;
    }
}

} // namespace
