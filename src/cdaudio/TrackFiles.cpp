// SPDX-License-Identifier: GPL-3.0-or-later
#include "cdaudio/TrackFiles.h"

#include "kit/Attributes.h"

#include <algorithm>
#include <cctype>
#include <charconv>
#include <system_error>

namespace {

bool StartsWithNoCase(std::string_view text, std::string_view prefix) {
    return text.size() >= prefix.size() &&
           std::equal(prefix.begin(), prefix.end(), text.begin(), [](char a, char b) {
               return std::tolower(static_cast<unsigned char>(a)) ==
                      std::tolower(static_cast<unsigned char>(b));
           });
}

} // namespace

int32_t TrackNumberFromName(std::string_view name) {
    constexpr std::string_view kPrefix = "track";
    constexpr std::string_view kExtension = ".wav";
    if (!StartsWithNoCase(name, kPrefix) || name.size() < kPrefix.size() + kExtension.size() ||
        !StartsWithNoCase(name.substr(name.size() - kExtension.size()), kExtension)) {
        return -1;
    }
    std::string_view number =
        name.substr(kPrefix.size(), name.size() - kPrefix.size() - kExtension.size());
    if (!number.empty() &&
        (number.front() == ' ' || number.front() == '-' || number.front() == '_')) {
        number.remove_prefix(1);
    }
    int32_t track = -1;
    const auto [end, error] = std::from_chars(number.data(), number.data() + number.size(), track);
    if (number.empty() || number.front() == '-' || error != std::errc() ||
        end != number.data() + number.size()) {
        return -1;
    }
    return track;
}

void SortByTrack(std::vector<TrackFile>& tracks) {
    std::stable_sort(tracks.begin(), tracks.end(), [](const TrackFile& a, const TrackFile& b) {
        return a.track >= 0 && (b.track < 0 || a.track < b.track);
    });
}

std::optional<std::vector<TrackFile>> ListTrackFiles(const std::filesystem::path& folder) {
    std::error_code error;
    std::filesystem::directory_iterator entries(folder, error);
    if (error) {
        return std::nullopt;
    }
    std::vector<TrackFile> tracks;
    // Increments with an error code: an entry that vanishes while listing ends the list early
    // instead of throwing.
    for (; entries != std::filesystem::directory_iterator() && tracks.size() < kMostCdFolderEntries;
         entries.increment(error)) {
        const std::filesystem::path& path = entries->path();
        const std::optional<int32_t> attribute = kit::ReadInt32Attribute(path, "Audio:Track");
        tracks.push_back(
            {path, attribute ? *attribute : TrackNumberFromName(path.filename().native())});
    }
    // Folders list their entries in no useful order.
    std::sort(tracks.begin(), tracks.end(),
              [](const TrackFile& a, const TrackFile& b) { return a.path < b.path; });
    SortByTrack(tracks);
    return tracks;
}
