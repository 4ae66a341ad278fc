// Test WAV files written with libsndfile: two tones and a little noise, the same every time.
#pragma once

#include <cstdint>
#include <sndfile.h>
#include <string>

namespace gogotest {

struct WavLayout {
    int format = SF_FORMAT_WAV | SF_FORMAT_PCM_16; // libsndfile container | encoding
    int channels = 2;
    int sampleRate = 44100;
    double seconds = 1.0;
};

// Writes the file and returns its number of frames; fails the calling test on error.
std::int64_t WriteTestWav(const std::string& path, const WavLayout& layout = {});

// The number of frames libsndfile reads from a file, or -1 when it cannot open it.
std::int64_t CountFrames(const std::string& path);

} // namespace gogotest
