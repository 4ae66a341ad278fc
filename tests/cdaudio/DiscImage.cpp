// SPDX-License-Identifier: GPL-3.0-or-later
#include "DiscImage.h"

#include <cstdio>
#include <fstream>
#include <gtest/gtest.h>

DiscImage WriteDiscImage(const std::filesystem::path& folder, const std::vector<int>& sectors,
                         const std::string& performer, const std::string& title, int seed) {
    std::filesystem::create_directories(folder);
    DiscImage image{folder / "disc.cue", folder / "disc.bin", {}};
    std::ofstream cue(image.cue);
    cue << (performer.empty() ? "" : "PERFORMER \"" + performer + "\"\n")
        << (title.empty() ? "" : "TITLE \"" + title + "\"\n") << "FILE \"disc.bin\" BINARY\n";
    std::ofstream bin(image.bin, std::ios::binary);
    int start = 0;
    for (size_t track = 0; track < sectors.size(); ++track) {
        char index[96];
        std::snprintf(index, sizeof index, "  TRACK %02zu AUDIO\n    INDEX 01 %02d:%02d:%02d\n",
                      track + 1, start / 75 / 60, start / 75 % 60, start % 75);
        cue << index;
        std::vector<int16_t>& samples =
            image.tracks.emplace_back(static_cast<size_t>(sectors[track]) * 2352 / 2);
        for (size_t i = 0; i < samples.size(); ++i) {
            samples[i] = static_cast<int16_t>(i * (7 + track) + static_cast<size_t>(seed) * 31 +
                                              i % 2 * 1000);
        }
        // CD audio is little-endian, as this machine's samples are.
        bin.write(reinterpret_cast<const char*>(samples.data()),
                  static_cast<std::streamsize>(samples.size() * 2));
        start += sectors[track];
    }
    EXPECT_TRUE(bin.good() && cue.good()) << folder;
    return image;
}
