// SPDX-License-Identifier: GPL-3.0-or-later
// The tags module: what writes ID3v2 tags and reads a WAV file's own tags with TagLib (see
// kit/FeatureModule.h).
#pragma once

#include "tagging/ID3v2Writer.h"
#include "tagging/WavTags.h"

#include <cstdint>

// The module's own code, which its table holds.
namespace module {
int32_t WriteID3v2Tag(const FinishedFile& file, std::string* why);
WavTagsRead ReadWavTags(const std::filesystem::path& file);
} // namespace module

struct TagsModule {
    static constexpr char kModuleName[] = "tags";
    static constexpr uint32_t kVersion = 1;
    decltype(&WriteID3v2Tag) writeID3v2Tag;
    decltype(&ReadWavTags) readWavTags;
};
