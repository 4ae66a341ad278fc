// SPDX-License-Identifier: GPL-3.0-or-later
#include "tagging/GenreTable.h"

#include <QString>
#include <algorithm>
#include <string_view>

constexpr GenreList genre_table = {
    "Blues",
    "Classic Rock",
    "Country",
    "Dance",
    "Disco",
    "Funk",
    "Grunge",
    "Hip-Hop",
    "Jazz",
    "Metal",
    "New Age",
    "Oldies",
    "Other",
    "Pop",
    "R&B",
    "Rap",
    "Reggae",
    "Rock",
    "Techno",
    "Industrial",
    "Alternative",
    "Ska",
    "Death Metal",
    "Pranks",
    "Soundtrack",
    "Euro-Techno",
    "Ambient",
    "Trip-Hop",
    "Vocal",
    "Jazz+Funk",
    "Fusion",
    "Trance",
    "Classical",
    "Instrumental",
    "Acid",
    "House",
    "Game",
    "Sound Clip",
    "Gospel",
    "Noise",
    "Alt. Rock",
    "Bass",
    "Soul",
    "Punk",
    "Space",
    "Meditative",
    "Instrum. Pop",
    "Instrum. Rock",
    "Ethnic",
    "Gothic",
    "Darkwave",
    "Techno-Indust.",
    "Electronic",
    "Pop-Folk",
    "Eurodance",
    "Dream",
    "Southern Rock",
    "Comedy",
    "Cult",
    "Gangsta",
    "Top 40",
    "Christian Rap",
    "Pop/Funk",
    "Jungle",
    "Native American",
    "Cabaret",
    "New Wave",
    "Psychadelic",
    "Rave",
    "Showtunes",
    "Trailer",
    "Lo-Fi",
    "Tribal",
    "Acid Punk",
    "Acid Jazz",
    "Polka",
    "Retro",
    "Musical",
    "Rock & Roll",
    "Hard Rock",
    "Folk",
    "Folk/Rock",
    "National Folk",
    "Swing",
    "Fusion",
    "Bebob",
    "Latin",
    "Revival",
    "Celtic",
    "Bluegrass",
    "Avantgarde",
    "Gothic Rock",
    "Progress. Rock",
    "Psychadel. Rock",
    "Symphonic Rock",
    "Slow Rock",
    "Big Band",
    "Chorus",
    "Easy Listening",
    "Acoustic",
    "Humour",
    "Speech",
    "Chanson",
    "Opera",
    "Chamber Music",
    "Sonata",
    "Symphony",
    "Booty Bass",
    "Primus",
    "Porn Groove",
    "Satire",
};

// Sorted once, by the compiler; string_view compares byte by byte as unsigned characters.
constexpr GenreList genre_table_sorted = [] {
    GenreList sorted = genre_table;
    std::sort(sorted.begin(), sorted.end(),
              [](const char* a, const char* b) { return std::string_view(a) < b; });
    return sorted;
}();

namespace {

uint8_t FirstPositionOf(const GenreList& names, const char* name) {
    if (name == nullptr) {
        return 0;
    }
    const auto found = std::find_if(names.begin(), names.end(), [name](const char* entry) {
        return std::string_view(entry) == name;
    });
    return found == names.end() ? 0 : static_cast<uint8_t>(found - names.begin());
}

} // namespace

uint8_t GetGenreIndex(const char* name) {
    return FirstPositionOf(genre_table, name);
}

uint8_t GetGenreSortedIndex(const char* name) {
    return FirstPositionOf(genre_table_sorted, name);
}

const char* GenreName(int genre) {
    return genre >= 0 && genre < genre_count ? genre_table[genre] : "Unknown";
}

std::optional<uint8_t> GenreNumberOfName(std::string_view name) {
    const QString text = QString::fromUtf8(name.data(), static_cast<qsizetype>(name.size()));
    for (const Qt::CaseSensitivity letterCase : {Qt::CaseSensitive, Qt::CaseInsensitive}) {
        for (int number = 0; number < genre_count; ++number) {
            if (text.compare(QLatin1StringView(genre_table[number]), letterCase) == 0) {
                return static_cast<uint8_t>(number);
            }
        }
    }
    return std::nullopt;
}
