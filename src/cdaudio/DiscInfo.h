// SPDX-License-Identifier: GPL-3.0-or-later
// What a drive tells of the disc in it: its table of contents and its CD-Text, kept as one value
// so that whatever needs the disc's identity or names (the reader, a later look-up) takes it
// whole.
#pragma once

#include "cdaudio/VolumeName.h"
#include "kit/Message.h"

#include <cstdint>
#include <optional>
#include <string>
#include <vector>

struct DiscTrack {
    int32_t number = 0;
    int32_t firstSector = 0; // logical sector number, 0 at the start of the first track
    int32_t sectors = 0;
    bool audio = false;
    // The track's CD-Text; empty when the disc tells none.
    std::string title;
    std::string performer;
    bool operator==(const DiscTrack&) const = default;
};

struct DiscInfo {
    std::vector<DiscTrack> tracks; // in track order; empty when the drive holds no disc
    int32_t leadOut = 0;           // the sector after the last track
    // The CD-Text of the whole disc; empty when the disc tells none.
    std::string title;
    std::string performer;

    [[nodiscard]] bool HasAudio() const;
    // "PERFORMER - TITLE", the title alone without a performer, "Audio CD" without a title.
    [[nodiscard]] std::string Label() const;
    // The artist and album for the disc's rows, from the CD-Text fields themselves (a performer
    // may contain " - "): the performer, and the title or "Audio CD" without one.
    [[nodiscard]] ArtistAlbum Tags() const;
    // The table of contents as text: two discs share it only when their track layouts agree.
    [[nodiscard]] std::string TocText() const;
    bool operator==(const DiscInfo&) const = default;

    // The disc as a message, to travel with the CD pop-up's items and a read's end: "leadOut"
    // int32, "Title" and "Performer" strings, and one "track" message per track ("number",
    // "firstSector", "sectors" int32, "audio" bool, "Title" and "Performer" strings).
    [[nodiscard]] kit::Message ToMessage() const;
    // None when a field is missing.
    static std::optional<DiscInfo> From(const kit::Message& message);
};
