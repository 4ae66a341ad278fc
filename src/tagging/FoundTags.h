// SPDX-License-Identifier: GPL-3.0-or-later
// Tag values found for a row outside the program: in the WAV file's own chunks, or in its name and
// folders by a pattern.
#pragma once

#include <cstdint>
#include <string>

// Every text is UTF-8 at its full length; empty where nothing was found.
struct FoundTags {
    std::string title;
    std::string artist;
    std::string album;
    std::string year;
    std::string comment;
    std::string genre; // a name; a genre number is given by its name
    int32_t track = -1;
    int32_t trackCount = 0; // the tracks of the track's album or disc ("3/12"); 0: not known

    [[nodiscard]] bool Empty() const {
        return title.empty() && artist.empty() && album.empty() && year.empty() &&
               comment.empty() && genre.empty() && track < 0;
    }
};
