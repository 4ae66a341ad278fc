// SPDX-License-Identifier: GPL-3.0-or-later
// Reads the answers of a CDDB server spoken to over HTTP (protocol level 6, UTF-8), as gnudb
// serves them: the answer to "cddb query" (which entries match a disc) and to "cddb read" (one
// entry in the xmcd format). Answers are taken as UTF-8 where they are, else as Latin-1 (as entries
// made for the older protocol levels are); anything else (UTF-16) is refused. Texts are cleaned of
// control and direction characters.
#pragma once

#include "lookup/DiscNames.h"

#include <optional>
#include <string>
#include <string_view>
#include <vector>

struct CddbMatch {
    std::string category; // such as "rock"; with the disc ID it names the entry to read
    std::string discId;
    std::string title; // "Artist / Album"
    bool operator==(const CddbMatch&) const = default;
};

struct CddbQueryAnswer {
    std::vector<CddbMatch> matches; // exact matches, else close ones; empty for "no match"
    std::string error; // the server's refusal or an answer that is not CDDB; empty when none
};

struct CddbReadAnswer {
    std::optional<ReleaseNames> release;
    std::string error;
};

// Only matches in a category of the database, with an 8-hex-digit disc ID, are taken.
CddbQueryAnswer ParseCddbQuery(std::string_view bytes);

// The entry's names: "DTITLE=Artist / Album" (both the same without a " / "), "DYEAR",
// "TTITLEn" for the track at place n + 1 (split into artist and title at " / " when the disc's
// artist is "Various" or "Various Artists"), for up to 99 tracks. A field may continue over
// several lines.
CddbReadAnswer ParseCddbRead(std::string_view bytes);
