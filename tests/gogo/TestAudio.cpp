// SPDX-License-Identifier: GPL-3.0-or-later
#include "TestAudio.h"

#include <cmath>
#include <fstream>
#include <gtest/gtest.h>
#include <numbers>
#include <unistd.h>
#include <vector>

namespace gogotest {
namespace {

void PutLittleEndian(std::string& bytes, std::uint64_t value, int size) {
    for (int i = 0; i < size; ++i) {
        bytes += static_cast<char>((value >> (8 * i)) & 0xFF);
    }
}

// A canonical 44-byte header of a PCM WAV file.
std::string WavHeader(int channels, int bits, int sampleRate, std::uint32_t dataBytes) {
    const int blockAlign = channels * bits / 8;
    std::string header = "RIFF";
    PutLittleEndian(header, 36 + dataBytes + (dataBytes & 1), 4);
    header += "WAVEfmt ";
    PutLittleEndian(header, 16, 4);
    PutLittleEndian(header, 1, 2); // PCM
    PutLittleEndian(header, static_cast<std::uint64_t>(channels), 2);
    PutLittleEndian(header, static_cast<std::uint64_t>(sampleRate), 4);
    PutLittleEndian(
        header, static_cast<std::uint64_t>(sampleRate) * static_cast<std::uint64_t>(blockAlign), 4);
    PutLittleEndian(header, static_cast<std::uint64_t>(blockAlign), 2);
    PutLittleEndian(header, static_cast<std::uint64_t>(bits), 2);
    header += "data";
    PutLittleEndian(header, dataBytes, 4);
    return header;
}

} // namespace

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

std::int64_t WriteWavWithStrayBytes(const std::string& path, int channels, int bits, int sampleRate,
                                    std::int64_t frames, int strayBytes) {
    const int bytesPerSample = bits / 8;
    std::string data;
    for (std::int64_t i = 0; i < frames; ++i) {
        for (int c = 0; c < channels; ++c) {
            const double tone =
                0.4 * std::sin(2 * std::numbers::pi * 330.0 * (c + 1) * double(i) / sampleRate);
            const auto full = static_cast<double>((std::int64_t{1} << (bits - 1)) - 1);
            const auto value = static_cast<std::int64_t>(std::lround(tone * full));
            PutLittleEndian(data,
                            bits == 8 ? static_cast<std::uint64_t>(value + 128)
                                      : static_cast<std::uint64_t>(value),
                            bytesPerSample);
        }
    }
    for (int i = 0; i < strayBytes; ++i) {
        data += static_cast<char>(0x35 + i);
    }
    const auto dataBytes = static_cast<std::uint32_t>(data.size());
    if (dataBytes % 2 != 0) {
        data += '\0';
    }
    std::ofstream(path, std::ios::binary)
        << WavHeader(channels, bits, sampleRate, dataBytes) << data;
    return frames;
}

std::int64_t WriteLongSilentWav(const std::string& path) {
    constexpr std::uint32_t kDataBytes = 0xF0000000; // six hours and more
    std::ofstream(path, std::ios::binary) << WavHeader(2, 16, 44100, kDataBytes);
    EXPECT_EQ(truncate(path.c_str(), 44 + static_cast<off_t>(kDataBytes)), 0);
    return kDataBytes / 4;
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
