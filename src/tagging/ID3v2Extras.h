// SPDX-License-Identifier: GPL-3.0-or-later
// ID3v2 frames that go into an MP3's tag beside the row's texts, as values that travel with the
// finished row to the code that writes its tag: a front cover picture and user texts (TXXX).
#pragma once

#include "tagging/CoverPicture.h"

#include <optional>
#include <string>
#include <vector>

namespace TagLib::ID3v2 {
class Tag;
}

struct UserText {
    std::string description;
    std::string value;
};

struct ID3v2Extras {
    std::optional<CoverPicture> frontCover;
    std::vector<UserText> userTexts;

    [[nodiscard]] bool Empty() const { return !frontCover && userTexts.empty(); }
};

// Puts the frames into the tag. A front cover replaces the tag's front covers (other pictures
// stay); a user text replaces the user texts of the same description in any letter case (taggers
// write "replaygain_track_gain" as well as "REPLAYGAIN_TRACK_GAIN").
void PutExtras(TagLib::ID3v2::Tag& tag, const ID3v2Extras& extras);
