// SPDX-License-Identifier: GPL-3.0-or-later
// A file an encoder has finished, with everything it is tagged with: value copies taken from its
// row when the row was marked done, so that a worker thread can tag the file while the row
// changes or goes.
#pragma once

#include "tagging/ID3Struct.h"
#include "tagging/ID3v2Extras.h"
#include "tagging/ReleaseTags.h"
#include "tagging/ReplayGain.h"

#include <cstdint>
#include <filesystem>
#include <optional>
#include <string>
#include <vector>

struct FinishedFile {
    // Whom the outcome is reported to: the encoding run and the row the file was made for.
    int64_t run = 0;
    int64_t row = 0;

    std::filesystem::path path; // the MP3 file
    ID3_struct tag{};
    int32_t track = -1;     // none when negative
    int32_t trackCount = 0; // the tracks of its disc or album, where known; else 0
    std::string fullTitle;  // the title at its full length, for the ID3v2 tag
    std::string fullArtist; // the artist, album and comment at their full length, likewise
    std::string fullAlbum;
    std::string fullComment;
    bool genreGiven = false; // a genre was applied to the row; else the ID3v2 tag names none
    std::string genreName;   // without one, a genre name found for the row, for the ID3v2 tag
    bool id3v2 = true;       // also write an ID3v2 tag

    // The names, identifiers and front cover of a disc look-up's release, as far as the row still
    // holds them; empty for a row that was not looked up.
    ReleaseTags release;

    // What the ID3v2 tag gets beside the row's values, and where it comes from: the front cover
    // is the picture `coverFile` (one the user gave the row), else the release's, else the one
    // found beside the WAV file `source`, when `embedCover` is set; the ReplayGain texts are
    // measured from the WAV file when `replayGain` is set. The tagging worker fills `extras` from
    // these.
    std::filesystem::path source;
    std::filesystem::path coverFile;
    bool embedCover = false;
    bool replayGain = false;
    ID3v2Extras extras;
};

// Fills the file's `extras`: the front cover it is to have, read from its file, and, from the
// loudness measured for it (none when it was not), its ReplayGain texts. A silent file gets none.
// Returns what its tag will lack, one text each, for the row's warning.
std::vector<std::string> AddExtras(FinishedFile& file, const std::optional<RowLoudness>& loudness);

// Writes the file's ID3v1 tag and "Audio:" attributes and, when asked, its ID3v2 tag. Only a
// regular file is tagged: a FIFO or a device at the output path took the encoder's output as it
// came, and reading it back would wait for ever. Returns why the file's tags are missing or
// incomplete, for the user; empty when every tag was written. A file system that keeps no
// extended attributes is no failure: such a file has none to write. `missing` names what is known
// to be missing already (as AddExtras says), for the same warning.
std::string TagFinishedFile(const FinishedFile& file, std::vector<std::string> missing = {});
