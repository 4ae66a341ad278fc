#include "TestAudio.h"

#include <cmath>
#include <gtest/gtest.h>
#include <numbers>
#include <vector>

namespace gogotest {

std::int64_t WriteTestWav(const std::string& path, const WavLayout& layout) {
    SF_INFO info{};
    info.channels = layout.channels;
    info.samplerate = layout.sampleRate;
    info.format = layout.format;
    SNDFILE* file = sf_open(path.c_str(), SFM_WRITE, &info);
    EXPECT_NE(file, nullptr) << path << ": " << sf_strerror(nullptr);
    if (!file) {
        return 0;
    }
    const auto frames = static_cast<std::int64_t>(layout.seconds * layout.sampleRate);
    std::vector<float> samples(static_cast<std::size_t>(frames * layout.channels));
    std::uint32_t noise = 12345;
    for (std::int64_t i = 0; i < frames; ++i) {
        const double t = double(i) / layout.sampleRate;
        // A swelling level makes the variable bit rate vary.
        const double level = 0.2 + 0.2 * std::sin(2 * std::numbers::pi * 0.7 * t);
        for (int c = 0; c < layout.channels; ++c) {
            noise = noise * 1664525u + 1013904223u;
            const double hiss = (double(noise >> 8) / double(1 << 24) - 0.5) * 0.05;
            const double tone = std::sin(2 * std::numbers::pi * 440.0 * (c + 1) * t) +
                                0.5 * std::sin(2 * std::numbers::pi * 3520.0 * t);
            samples[static_cast<std::size_t>(i * layout.channels + c)] =
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
