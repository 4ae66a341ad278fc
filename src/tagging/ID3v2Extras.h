// SPDX-License-Identifier: GPL-3.0-or-later
// ID3v2 frames that go into an MP3's tag beside the row's texts, as values that travel with the
// finished row to the code that writes its tag: a front cover picture and user texts (TXXX).
#pragma once

#include "tagging/CoverPicture.h"

#include <optional>
#include <string>
#include <vector>

namespace TagLib {
class StringList;
namespace ID3v2 {
class Tag;
}
} // namespace TagLib

// A TXXX frame: ID3v2.4 keeps its values apart, ID3v2.3 joins them with "/".
struct UserText {
    std::string description;
    std::vector<std::string> values;
};

struct ID3v2Extras {
    std::optional<CoverPicture> frontCover;
    std::vector<UserText> userTexts;

    [[nodiscard]] bool Empty() const { return !frontCover && userTexts.empty(); }
};

// The values of a text frame as the tag's version keeps several: apart in ID3v2.4, joined with
// "/" in ID3v2.3, which has no other way.
TagLib::StringList FrameValues(const std::vector<std::string>& values, bool v4);

// Puts the frames into the tag (`v4`: an ID3v2.4 tag). A front cover replaces the tag's front
// covers (other pictures stay); a user text replaces the user texts of the same description in any
// letter case (taggers write "replaygain_track_gain" as well as "REPLAYGAIN_TRACK_GAIN").
void PutExtras(TagLib::ID3v2::Tag& tag, const ID3v2Extras& extras, bool v4);
