#include "DiscImage.h"

#include <cstdio>
#include <fstream>
#include <gtest/gtest.h>

namespace {

constexpr int kSectorBytes = 2352;
constexpr int kSectorsPerSecond = 75;

std::string Msf(int64_t sector) {
    char text[16];
    std::snprintf(text, sizeof text, "%02d:%02d:%02d", static_cast<int>(sector / 60 / 75),
                  static_cast<int>(sector / kSectorsPerSecond % 60),
                  static_cast<int>(sector % kSectorsPerSecond));
    return text;
}

} // namespace

int64_t DiscImage::TrackOffset(size_t track) const {
    int64_t sectors = 0;
    for (size_t i = 0; i < track; ++i) {
        sectors += trackSectors[i];
    }
    return sectors * kSectorBytes;
}

std::vector<int16_t> DiscImage::TrackSamples(size_t track) const {
    std::vector<int16_t> samples(static_cast<size_t>(trackSectors[track]) * kSectorBytes / 2);
    std::ifstream file(bin, std::ios::binary);
    file.seekg(TrackOffset(track));
    file.read(reinterpret_cast<char*>(samples.data()),
              static_cast<std::streamsize>(samples.size() * 2));
    EXPECT_TRUE(file.good()) << bin;
    return samples;
}

DiscImage WriteDiscImage(const std::filesystem::path& folder, const std::vector<int>& trackSectors,
                         const std::string& performer, const std::string& title, int seed) {
    std::filesystem::create_directories(folder);
    DiscImage image{folder / "disc.cue", folder / "disc.bin", trackSectors};
    std::ofstream bin(image.bin, std::ios::binary);
    std::ofstream cue(image.cue);
    if (!performer.empty()) {
        cue << "PERFORMER \"" << performer << "\"\n";
    }
    if (!title.empty()) {
        cue << "TITLE \"" << title << "\"\n";
    }
    cue << "FILE \"disc.bin\" BINARY\n";
    int64_t start = 0;
    for (size_t track = 0; track < trackSectors.size(); ++track) {
        cue << "  TRACK " << (track < 9 ? "0" : "") << track + 1 << " AUDIO\n"
            << "    INDEX 01 " << Msf(start) << "\n";
        // Little-endian samples, as CD audio is stored; a ramp per channel and track.
        for (int64_t i = 0; i < int64_t{trackSectors[track]} * kSectorBytes / 2; ++i) {
            const auto sample = static_cast<uint16_t>(i * (7 + static_cast<int64_t>(track)) +
                                                      int64_t{seed} * 31 + (i % 2) * 1000);
            bin.put(static_cast<char>(sample & 0xFF)).put(static_cast<char>(sample >> 8));
        }
        start += trackSectors[track];
    }
    EXPECT_TRUE(bin.good() && cue.good()) << folder;
    return image;
}
