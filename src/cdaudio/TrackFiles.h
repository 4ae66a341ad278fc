// SPDX-License-Identifier: GPL-3.0-or-later
// The track files of an audio CD's folder and their track numbers.
#pragma once

#include <cstddef>
#include <cstdint>
#include <filesystem>
#include <optional>
#include <string_view>
#include <vector>

struct TrackFile {
    std::filesystem::path path;
    int32_t track = -1; // -1 when the file tells no track number
    bool operator==(const TrackFile&) const = default;
};

// Every entry of the folder (symbolic links followed) in track order; entries without a track
// number come last, by name. The track number is the file's "Audio:Track" attribute, else the
// number in a name such as "Track 7.wav", else -1. None when the folder cannot be read. A disc
// holds at most 99 tracks: the listing stops after kMostCdFolderEntries entries, so a folder
// posing as a CD cannot fill the list with thousands of rows.
inline constexpr size_t kMostCdFolderEntries = 256;
std::optional<std::vector<TrackFile>> ListTrackFiles(const std::filesystem::path& folder);

// Puts the files in track order, those without a track number last, keeping the order of files
// that share a number (or have none).
void SortByTrack(std::vector<TrackFile>& tracks);

// The track number in a track file's name: "track" in any case, an optional blank, "-" or "_",
// a decimal number and ".wav" in any case, as in "Track 7.wav" or "track_07.WAV"; -1 otherwise.
int32_t TrackNumberFromName(std::string_view name);
