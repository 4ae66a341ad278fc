// SPDX-License-Identifier: GPL-3.0-or-later
// The two identities a disc is looked up by, both computed from its table of contents.
#pragma once

#include "lookup/DiscToc.h"

#include <optional>
#include <string>

struct DiscIds {
    std::string
        musicBrainz;    // 28 characters of URL-safe base64, such as "TqvKjMu7dMliSfmVEBtrL7sBSno-"
    std::string freedb; // 8 lower-case hexadecimal digits, as the CDDB protocol sends them
};

// Computed by libdiscid; none for a table that no disc can have (no track, more than 99, offsets
// out of order or past the lead-out).
std::optional<DiscIds> ComputeDiscIds(const DiscToc& toc);
