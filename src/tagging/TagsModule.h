// The tags module: what writes ID3v2 tags with TagLib (see kit/FeatureModule.h).
#pragma once

#include "tagging/ID3v2Writer.h"

struct TagsModule {
    static constexpr char kModuleName[] = "tags";
    decltype(&WriteID3v2Tag) writeID3v2Tag;
};
