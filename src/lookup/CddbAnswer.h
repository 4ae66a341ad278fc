// Reads the answers of a CDDB server spoken to over HTTP (protocol level 6, UTF-8), as gnudb
// serves them: the answer to "cddb query" (which entries match a disc) and to "cddb read" (one
// entry in the xmcd format).
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

CddbQueryAnswer ParseCddbQuery(std::string_view text);

// The entry's names: "DTITLE=Artist / Album" (both the same without a " / "), "DYEAR",
// "TTITLEn" for the track at place n + 1 (split into artist and title at " / " when the disc's
// artist is "Various" or "Various Artists"). A field may continue over several lines.
CddbReadAnswer ParseCddbRead(std::string_view text);
