// SPDX-License-Identifier: GPL-3.0-or-later
// Reads the audio tracks of a disc with cdparanoia's error correction into a folder of WAV
// track files, for desktops that do not mount audio CDs as folders themselves.
//
// Each disc gets a folder of its own under the cache folder, named by a hash of its table of
// contents and of audio read from it (two discs with the same track lengths differ there):
// <cache>/<disc id>/wav/ holds the tracks read whole, as "Track NN.wav" files carrying the
// "Audio:Track" attribute, and <cache>/<disc id>/complete marks a disc read whole to the end. A
// track is written beside the "wav" folder and moved into it only once whole and read exactly;
// a track with sectors that could not be read exactly goes to <cache>/<disc id>/damaged/
// instead, so that it is read again next time. A disc whose folder is complete and whole is not
// read again; after a stop or an error the tracks already whole are kept and a later read reads
// only the others. One reader at a time writes into a disc's folder: a second one waits.
#pragma once

#include "cdaudio/DiscInfo.h"

#include <atomic>
#include <cstdint>
#include <filesystem>
#include <functional>
#include <string>
#include <vector>

struct DiscReadProgress {
    int32_t track = 0;      // the number of the track being read
    int32_t trackIndex = 0; // its place among the tracks to read, from 1
    int32_t trackCount = 0; // the number of tracks to read
    double fraction = 0.0;  // how much of all the sectors to read is read, 0 to 1
    bool waiting = false;   // another reader is reading the disc; this one waits for it
};

// A track that was not read exactly.
struct DamagedTrack {
    int32_t track = 0;
    // The sectors that could not be read exactly; all of them when the track could not be read.
    int32_t sectors = 0;
    // The track as read, those sectors wrong; empty when it could not be read to its end.
    std::filesystem::path file;
    bool operator==(const DamagedTrack&) const = default;
};

struct DiscReadResult {
    DiscInfo disc;                     // the disc's table of contents and CD-Text
    std::string discId;                // the name of its folder in the cache
    std::filesystem::path folder;      // the folder of whole track files; empty when there is none
    std::vector<DamagedTrack> damaged; // in track order
    std::string error;                 // why reading failed; empty when it did not
    bool stopped = false;              // the stop request ended the reading
    [[nodiscard]] bool Complete() const {
        return !folder.empty() && error.empty() && !stopped && damaged.empty();
    }
};

using DiscReadProgressFunction = std::function<void(const DiscReadProgress&)>;
// What a drive does wrong at a sector, for a disc image to stand for a damaged disc: the image
// drivers of libcdio cannot fail a read of their own. An unreadable sector fails its reads; an
// unstable one gives other data at each read, as a scratch does, so that it cannot be verified.
enum class SectorFault { None, Unreadable, Unstable };
// Empty: every failure is the drive's.
using DriveFaults = std::function<SectorFault(int32_t sector)>;

// Reads the disc in a drive (or in a disc image libcdio opens, such as a CUE sheet). `stop` is
// checked between and during sector reads; `progress` is called on the reading thread at the
// start of each track, about once per second of audio read, and once when the read waits for
// another reader of the disc.
DiscReadResult ReadDisc(const std::string& device, const std::filesystem::path& cacheFolder,
                        const std::atomic<bool>& stop, const DiscReadProgressFunction& progress,
                        const DriveFaults& faults = {});
