// SPDX-License-Identifier: GPL-3.0-or-later
// ReplayGain 2.0: the loudness of tracks and albums by EBU R128, the gain that brings them to the
// reference of -18 LUFS, and the ID3v2 user texts that players read.
#pragma once

#include "tagging/ID3v2Extras.h"

#include <cstddef>
#include <filesystem>
#include <functional>
#include <optional>
#include <string>
#include <vector>

struct Loudness {
    double integrated = 0.0; // LUFS, gated as EBU R128 asks
    double peak = 0.0;       // the largest sample, 1.0 being full scale
};

struct TrackLoudness {
    std::optional<Loudness> loudness; // none for silence, which no gain brings to the reference
    std::string error;                // why the file was not measured; empty when it was
};

// What the ReplayGain tags of one file are made of.
struct RowLoudness {
    std::optional<Loudness> track; // none for silence or when it was not measured
    std::optional<Loudness> album; // none when no track of the album has a loudness
    std::string error;             // why the file was not measured; empty when it was
};

// Reads the files through, one after another, and measures them with libebur128 as the tracks of
// one album; `measured` is told each file's loudness (by its place in `files`) as soon as it is
// known. Returns the album's loudness: measured over all of the tracks' audio (not averaged over
// tracks), its peak their largest; nothing when no track has one. A mono file counts as played on
// both speakers, as players play it. `goOn`, when given, is asked now and then; once it says no,
// the file being read is left unmeasured and the rest are not read.
//
// libebur128 and libsndfile are in the loudness module, loaded by the first call: the program
// does not load them unless ReplayGain tags are asked for.
std::optional<Loudness>
MeasureAlbum(const std::vector<std::filesystem::path>& files,
             const std::function<void(std::size_t, const TrackLoudness&)>& measured,
             const std::function<bool()>& goOn = {});

// The loudness the gains bring a file to, in LUFS: ReplayGain 2.0's reference.
inline constexpr double kReferenceLoudness = -18.0;

// The gain in dB that brings the loudness to -18 LUFS.
double ReplayGainDb(const Loudness& loudness);

// The user texts REPLAYGAIN_TRACK_GAIN ("-7.25 dB") and REPLAYGAIN_TRACK_PEAK ("0.988525"), the
// album's REPLAYGAIN_ALBUM_GAIN and REPLAYGAIN_ALBUM_PEAK when there is an album loudness, and
// REPLAYGAIN_REFERENCE_LOUDNESS ("-18.00 LUFS").
std::vector<UserText> ReplayGainTexts(const Loudness& track, const std::optional<Loudness>& album);
