// SPDX-License-Identifier: GPL-3.0-or-later
// One audio CD as the CD pop-up lists it.
#pragma once

#include "cdaudio/DiscInfo.h"
#include "cdaudio/VolumeName.h"

#include <cstdint>
#include <filesystem>
#include <optional>
#include <string>
#include <string_view>

// The label of a CD that tells no name of its own.
inline constexpr std::string_view kUnnamedCdLabel = "Audio CD";

struct AudioCd {
    // The name the pop-up shows, as UTF-8 text.
    std::string label;
    // The folder of its track files; empty when the disc has to be read into one first.
    std::filesystem::path folder;
    // The device the disc is in (for a disc to read, the drive handed to the reader).
    std::string device;
    // The device number of the CD's volume or drive (32-bit Linux encoding), 0 when unknown.
    int32_t deviceNumber = 0;
    // The artist and album its rows get: from the disc's CD-Text where the drive tells it, else
    // the label split as "Artist - Album".
    ArtistAlbum tags;
    // What the drive told of the disc, when it was asked; a disc look-up starts from it.
    std::optional<DiscInfo> disc;

    [[nodiscard]] bool NeedsReading() const { return folder.empty(); }
    bool operator==(const AudioCd&) const = default;
};

// A device number in the kernel's 32-bit encoding: minor bits 0-7 and 20-31, major bits 8-19.
int32_t EncodeDeviceNumber(uint32_t major, uint32_t minor);
