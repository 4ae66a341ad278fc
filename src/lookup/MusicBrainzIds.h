// SPDX-License-Identifier: GPL-3.0-or-later
// The shapes of MusicBrainz identifiers, checked wherever one comes in.
#pragma once

#include <string_view>

// Whether the text is a MusicBrainz identifier (a UUID in lower-case hex, "8-4-4-4-12").
bool IsMusicBrainzId(std::string_view id);

// Whether the text is a MusicBrainz disc ID: 28 characters of letters, digits, ".", "_" and "-".
bool IsMusicBrainzDiscId(std::string_view id);
