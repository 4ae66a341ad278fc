// SPDX-License-Identifier: GPL-3.0-or-later
#include "lookup/CddbAnswer.h"

#include "kit/OutsideText.h"

#include <algorithm>
#include <array>
#include <charconv>
#include <map>

namespace {

constexpr int32_t kLastTrack = 99;

// The categories of the CDDB database; an entry is read by its category and its disc ID.
constexpr std::array<std::string_view, 11> kCategories = {
    "blues", "classical", "country", "data",       "folk", "jazz",
    "misc",  "newage",    "reggae",  "soundtrack", "rock"};

// A CDDB disc ID: eight hex digits.
bool IsCddbDiscId(std::string_view id) {
    return id.size() == 8 && std::all_of(id.begin(), id.end(), [](char c) {
               return (c >= '0' && c <= '9') || (c >= 'a' && c <= 'f');
           });
}

bool IsCategory(std::string_view category) {
    return std::find(kCategories.begin(), kCategories.end(), category) != kCategories.end();
}

constexpr const char* kNotText = "gnudb sent an answer that is neither UTF-8 nor Latin-1";

// The lines of an answer without their line ends; a lone "." ends a list.
std::vector<std::string_view> Lines(std::string_view text) {
    std::vector<std::string_view> lines;
    while (!text.empty()) {
        const size_t end = text.find('\n');
        std::string_view line = text.substr(0, end);
        if (!line.empty() && line.back() == '\r') {
            line.remove_suffix(1);
        }
        lines.push_back(line);
        text = end == std::string_view::npos ? std::string_view() : text.substr(end + 1);
    }
    return lines;
}

int StatusCode(std::string_view line) {
    int code = 0;
    const auto [end, error] = std::from_chars(line.data(), line.data() + line.size(), code);
    const bool followedBySpace = end == line.data() + line.size() || *end == ' ';
    return error == std::errc() && end == line.data() + 3 && followedBySpace ? code : 0;
}

// "category discid title", the title possibly with blanks. A category the database does not
// have, or a disc ID that is not one, names no entry.
std::optional<CddbMatch> ReadMatch(std::string_view line) {
    const size_t first = line.find(' ');
    const size_t second = first == std::string_view::npos ? first : line.find(' ', first + 1);
    if (second == std::string_view::npos) {
        return std::nullopt;
    }
    const std::string_view category = line.substr(0, first);
    const std::string_view discId = line.substr(first + 1, second - first - 1);
    if (!IsCategory(category) || !IsCddbDiscId(discId)) {
        return std::nullopt;
    }
    return CddbMatch{std::string(category), std::string(discId),
                     kit::CleanOutsideText(line.substr(second + 1))};
}

std::string Refusal(std::string_view line) {
    return "gnudb answered \"" + kit::CleanOutsideText(line.substr(0, 200)) + "\"";
}

// The escapes of an xmcd value (\n, \t and \\) undone, and the text cleaned of the control
// characters they may give.
std::string Unescape(std::string_view value) {
    std::string text;
    for (size_t i = 0; i < value.size(); ++i) {
        if (value[i] == '\\' && i + 1 < value.size()) {
            const char next = value[++i];
            text += next == 'n' ? '\n' : next == 't' ? '\t' : next;
        } else {
            text += value[i];
        }
    }
    return kit::CleanOutsideText(text);
}

std::pair<std::string, std::string> SplitArtistTitle(const std::string& text) {
    const size_t separator = text.find(" / ");
    if (separator == std::string::npos) {
        return {text, text};
    }
    return {text.substr(0, separator), text.substr(separator + 3)};
}

} // namespace

CddbQueryAnswer ParseCddbQuery(std::string_view bytes) {
    const std::optional<std::string> decoded = kit::Utf8OrLatin1(bytes);
    if (!decoded) {
        return {.matches = {}, .error = kNotText};
    }
    const std::vector<std::string_view> lines = Lines(*decoded);
    if (lines.empty()) {
        return {.matches = {}, .error = "gnudb sent an empty answer"};
    }
    const int code = StatusCode(lines[0]);
    CddbQueryAnswer answer;
    if (code == 200) { // one exact match on the status line itself
        if (auto match = ReadMatch(lines[0].substr(std::min<size_t>(4, lines[0].size())))) {
            answer.matches.push_back(std::move(*match));
            return answer;
        }
    } else if (code == 202) {
        return answer;
    } else if (code == 210 || code == 211) { // exact or close matches, one a line, up to "."
        for (size_t i = 1; i < lines.size() && lines[i] != "."; ++i) {
            if (auto match = ReadMatch(lines[i])) {
                answer.matches.push_back(std::move(*match));
            }
        }
        if (!answer.matches.empty()) {
            return answer;
        }
    }
    answer.error = Refusal(lines[0]);
    return answer;
}

CddbReadAnswer ParseCddbRead(std::string_view bytes) {
    const std::optional<std::string> decoded = kit::Utf8OrLatin1(bytes);
    if (!decoded) {
        return {.release = std::nullopt, .error = kNotText};
    }
    const std::vector<std::string_view> lines = Lines(*decoded);
    if (lines.empty() || StatusCode(lines[0]) != 210) {
        return {.release = std::nullopt,
                .error = lines.empty() ? "gnudb sent an empty answer" : Refusal(lines[0])};
    }
    // Fields in the order met; a field given on several lines is their concatenation.
    std::map<std::string, std::string, std::less<>> fields;
    for (size_t i = 1; i < lines.size() && lines[i] != "."; ++i) {
        const std::string_view line = lines[i];
        const size_t equals = line.find('=');
        if (line.empty() || line[0] == '#' || equals == std::string_view::npos) {
            continue;
        }
        fields[std::string(line.substr(0, equals))] += line.substr(equals + 1);
    }
    ReleaseNames release;
    std::tie(release.artist, release.title) = SplitArtistTitle(Unescape(fields["DTITLE"]));
    release.date = Unescape(fields["DYEAR"]);
    const bool variousArtists = release.artist == "Various" || release.artist == "Various Artists";
    for (int32_t n = 0; n < kLastTrack; ++n) {
        const auto found = fields.find("TTITLE" + std::to_string(n));
        if (found == fields.end()) {
            break;
        }
        TrackNames track;
        track.position = n + 1;
        track.title = Unescape(found->second);
        track.artist = release.artist;
        if (variousArtists && track.title.find(" / ") != std::string::npos) {
            std::tie(track.artist, track.title) = SplitArtistTitle(track.title);
        }
        release.tracks.push_back(std::move(track));
    }
    if (release.title.empty() && release.tracks.empty()) {
        return {.release = std::nullopt, .error = "gnudb sent an entry without names"};
    }
    release.trackCount = static_cast<int32_t>(release.tracks.size());
    return {.release = std::move(release), .error = {}};
}
