// Reads the audio tracks of a disc with cdparanoia's error correction into a folder of WAV
// track files, for desktops that do not mount audio CDs as folders themselves.
//
// Each disc gets a folder of its own under the cache folder, named by a hash of its table of
// contents: <cache>/<disc id>/wav/ holds "Track NN.wav" files carrying the "Audio:Track"
// attribute, and <cache>/<disc id>/complete marks a disc read to the end. A track is written
// beside the "wav" folder and moved into it only once whole. A disc whose folder is complete
// and whole is not read again; after a stop or a read error the tracks already whole are kept
// and a later read reads only the others.
#pragma once

#include <atomic>
#include <cstdint>
#include <filesystem>
#include <functional>
#include <string>

struct DiscReadProgress {
    int32_t track = 0;      // the number of the track being read
    int32_t trackIndex = 0; // its place among the tracks to read, from 1
    int32_t trackCount = 0; // the number of tracks to read
    double fraction = 0.0;  // how much of all the sectors to read is read, 0 to 1
};

struct DiscReadResult {
    std::filesystem::path folder; // the folder of whole track files; empty when there is none
    std::string name;             // the disc's CD-Text "PERFORMER - TITLE", else "Audio CD"
    std::string error;            // why reading failed; empty when it did not
    bool stopped = false;         // the stop request ended the reading
    [[nodiscard]] bool Complete() const { return !folder.empty() && error.empty() && !stopped; }
};

using DiscReadProgressFunction = std::function<void(const DiscReadProgress&)>;

// The cache folder discs are read into: $XDG_CACHE_HOME/vamble, by default ~/.cache/vamble.
std::filesystem::path DiscCacheFolder();

// Reads the disc in a drive (or in a disc image libcdio opens, such as a CUE sheet). `stop` is
// checked between and during sector reads; `progress` is called on the reading thread at the
// start of each track and about once per second of audio read.
DiscReadResult ReadDisc(const std::string& device, const std::filesystem::path& cacheFolder,
                        const std::atomic<bool>& stop, const DiscReadProgressFunction& progress);
