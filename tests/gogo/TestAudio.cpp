#include "TestAudio.h"

#include <cmath>
#include <gtest/gtest.h>
#include <numbers>
#include <vector>

namespace gogotest {

std::int64_t WriteTestWav(const std::string& path, const WavSpec& spec) {
    SF_INFO info{};
    info.channels = spec.channels;
    info.samplerate = spec.sampleRate;
    info.format = spec.format;
    SNDFILE* file = sf_open(path.c_str(), SFM_WRITE, &info);
    EXPECT_NE(file, nullptr) << path << ": " << sf_strerror(nullptr);
    if (!file) {
        return 0;
    }
    const auto frames = static_cast<std::int64_t>(spec.seconds * spec.sampleRate);
    std::vector<float> samples(static_cast<std::size_t>(frames * spec.channels));
    std::uint32_t noise = 12345;
    for (std::int64_t i = 0; i < frames; ++i) {
        const double t = double(i) / spec.sampleRate;
        // A swelling level makes the variable bit rate vary.
        const double level = 0.2 + 0.2 * std::sin(2 * std::numbers::pi * 0.7 * t);
        for (int c = 0; c < spec.channels; ++c) {
            noise = noise * 1664525u + 1013904223u;
            const double hiss = (double(noise >> 8) / double(1 << 24) - 0.5) * 0.05;
            const double tone = std::sin(2 * std::numbers::pi * 440.0 * (c + 1) * t) +
                                0.5 * std::sin(2 * std::numbers::pi * 3520.0 * t);
            samples[static_cast<std::size_t>(i * spec.channels + c)] =
                static_cast<float>(level * tone + hiss);
        }
    }
    EXPECT_EQ(sf_writef_float(file, samples.data(), frames), frames);
    sf_close(file);
    return frames;
}

std::int64_t CountFrames(const std::string& path) {
    SF_INFO info{};
    SNDFILE* file = sf_open(path.c_str(), SFM_READ, &info);
    if (!file) {
        return -1;
    }
    sf_close(file);
    return info.frames;
}

} // namespace gogotest
