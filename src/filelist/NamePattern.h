// SPDX-License-Identifier: GPL-3.0-or-later
// Expands the output-name pattern of one row. Codes: "%a" artist, "%c" album, "%y" year, "%t" the
// track (0 to 9 as two digits, a negative track as nothing), "%s" the title or, when the title is
// empty, the Save As text, "%n" the Save As text, "%d" the disc number of a release of several
// discs (nothing for one disc or none known), "%A" the album artist (the artist when none is
// known). Right after "%s" or "%n", a result that now ends
// in ".wav" (lower case only) loses those four characters. "%" followed by anything else gives
// "%" and drops that byte; a "%" at the end gives "%". Every other byte is copied unchanged.
// The folder levels of the result are exactly those the pattern writes: a "/" inside an inserted
// value becomes "-", and a component that codes made "." or ".." has its dots turned into "_".
// Separators ("-", " ", "_", ".") that would begin a component only because the codes before
// them gave nothing are left out.
#pragma once

#include "tagging/ID3Struct.h"

#include <cstdint>
#include <string>
#include <string_view>

// The text without a final ".wav" (lower case only), as "%s" and "%n" drop it.
std::string_view WithoutWavExtension(std::string_view text);

// The title, artist and album at their full length, as the row's ID3v2 tag holds them. Where
// one is longer than its 30-byte field's text, "%s", "%a" and "%c" take it instead; rows whose
// texts fit the fields get the same names as without. The album artist and the disc's place
// among the release's discs come from a disc look-up.
struct FullTexts {
    std::string_view title{};
    std::string_view artist{};
    std::string_view album{};
    std::string_view albumArtist{};
    int32_t discNumber = 0; // 0: not known
    int32_t discCount = 0;  // 0: not known
};

std::string ExpandNamePattern(std::string_view pattern, const ID3_struct& tag, int32_t track,
                              std::string_view saveAsText, const FullTexts& full = {});
