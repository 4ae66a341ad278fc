// SPDX-License-Identifier: GPL-3.0-or-later
// Artist and album taken from the name of an audio CD, such as "Artist - Album".
#pragma once

#include <string>
#include <string_view>

struct ArtistAlbum {
    std::string artist;
    std::string album;
    bool operator==(const ArtistAlbum&) const = default;
};

// Splits at the first "-": the artist is the text before it less the one character just before
// it (normally a blank), the album the text after it less the one character just after it. A
// name without "-" is all album. Where a side has no character to drop, it is empty. Characters
// are UTF-8 code points, so a dropped character never leaves half a sequence behind.
ArtistAlbum SplitVolumeName(std::string_view name);
