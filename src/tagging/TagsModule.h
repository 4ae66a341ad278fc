// SPDX-License-Identifier: GPL-3.0-or-later
// The tags module: what writes ID3v2 tags and reads a WAV file's own tags with TagLib (see
// kit/FeatureModule.h).
#pragma once

#include "tagging/ID3v2Writer.h"
#include "tagging/WavTags.h"

struct TagsModule {
    static constexpr char kModuleName[] = "tags";
    decltype(&WriteID3v2Tag) writeID3v2Tag;
    decltype(&ReadWavTags) readWavTags;
};
