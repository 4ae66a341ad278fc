// SPDX-License-Identifier: GPL-3.0-or-later
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

// Writes a PCM WAV file byte by byte, so that its data chunk may end inside a frame: `frames`
// whole frames of a different tone on each channel, then `strayBytes` more bytes of data, then the
// chunk's pad byte when its length is odd. Returns the number of whole frames.
std::int64_t WriteWavWithStrayBytes(const std::string& path, int channels, int bits, int sampleRate,
                                    std::int64_t frames, int strayBytes);

// Writes hours of silent 16-bit stereo WAV as a sparse file (only the header takes space) and
// returns its number of frames: an encoding of it is certainly still running seconds later.
std::int64_t WriteLongSilentWav(const std::string& path);

// The number of frames libsndfile reads from a file, or -1 when it cannot open it.
std::int64_t CountFrames(const std::string& path);

} // namespace gogotest
