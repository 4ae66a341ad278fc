// SPDX-License-Identifier: GPL-3.0-or-later
// The tags a WAV file carries of its own, as recorders, audio workstations, download shops and
// taggers leave them: an ID3v2 tag in an "id3 " (or "ID3 ") chunk, and RIFF INFO texts in a
// "LIST" chunk of type "INFO".
#pragma once

#include "tagging/FoundTags.h"

#include <filesystem>
#include <string>

struct WavTagsRead {
    FoundTags tags;
    // Why the file's tags were not taken: a chunk that carries them is damaged (it reaches past
    // the end of the file, or holds no whole tag). `tags` is then empty. Empty otherwise.
    std::string damage;
};

// Reads the tags of the WAV file. Where both kinds are present, the ID3v2 tag's values come first
// and the INFO texts fill in what it leaves empty. INFO texts are UTF-8 where their bytes are,
// else Latin-1, as older Windows programs wrote them. A genre one of the 111 of the genre table
// is given by the table's name for it, however the file spells it ("Alternative Rock" gives
// "Alt. Rock"). A file that cannot be opened, or is not a RIFF WAVE file, has no tags and no
// damage. Its texts are cleaned of control and direction characters. A LIST chunk larger than
// 1 MiB or an id3 chunk larger than 16 MiB is damage: nothing is read of it. TagLib is in the tags
// module, loaded by the first call.
WavTagsRead ReadWavTags(const std::filesystem::path& file);
