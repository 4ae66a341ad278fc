// SPDX-License-Identifier: GPL-3.0-or-later
// Audio CD images for the tests: a BIN file of raw CD audio and a CUE sheet that libcdio opens
// like a drive, with the disc's performer and title as CD-Text.
#pragma once

#include <cstdint>
#include <filesystem>
#include <string>
#include <vector>

struct DiscImage {
    std::filesystem::path cue;
    std::filesystem::path bin;
    std::vector<std::vector<int16_t>> tracks; // each track's samples, two to a frame
};

// Writes disc.bin and disc.cue into the folder: tracks of the given lengths in sectors (at least
// 150 each, libcdio's pregap) with samples that differ per track and per `seed`. Empty texts
// leave the CD-Text field out.
DiscImage WriteDiscImage(const std::filesystem::path& folder, const std::vector<int>& sectors,
                         const std::string& performer, const std::string& title, int seed = 0);
