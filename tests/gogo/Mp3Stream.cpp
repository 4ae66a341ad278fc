// SPDX-License-Identifier: GPL-3.0-or-later
#include "Mp3Stream.h"

#include <array>
#include <fstream>
#include <iterator>

namespace gogotest {
namespace {

constexpr std::array<int, 16> kMpeg1Bitrates{0,   32,  40,  48,  56,  64,  80,  96,
                                             112, 128, 160, 192, 224, 256, 320, 0};
constexpr std::array<int, 16> kMpeg2Bitrates{0,  8,  16, 24,  32,  40,  48,  56,
                                             64, 80, 96, 112, 128, 144, 160, 0};
constexpr std::array<int, 3> kMpeg1Rates{44100, 48000, 32000};

std::optional<Mp3Frame> FrameAt(const std::vector<unsigned char>& data, std::size_t offset) {
    if (offset + 4 > data.size() || data[offset] != 0xFF || (data[offset + 1] & 0xE0) != 0xE0) {
        return std::nullopt;
    }
    const int version = (data[offset + 1] >> 3) & 3; // 3: MPEG-1, 2: MPEG-2, 0: MPEG-2.5
    const int layer = (data[offset + 1] >> 1) & 3;   // 1: layer III
    const int bitrateIndex = data[offset + 2] >> 4;
    const int rateIndex = (data[offset + 2] >> 2) & 3;
    if (version == 1 || layer != 1 || rateIndex == 3) {
        return std::nullopt;
    }
    const bool mpeg1 = version == 3;
    Mp3Frame frame;
    frame.offset = offset;
    frame.bitrate =
        (mpeg1 ? kMpeg1Bitrates : kMpeg2Bitrates)[static_cast<std::size_t>(bitrateIndex)];
    frame.sampleRate = kMpeg1Rates[static_cast<std::size_t>(rateIndex)] / (mpeg1          ? 1
                                                                           : version == 2 ? 2
                                                                                          : 4);
    frame.mono = (data[offset + 3] >> 6) == 3;
    frame.samples = mpeg1 ? 1152 : 576;
    const int padding = (data[offset + 2] >> 1) & 1;
    if (frame.bitrate == 0) {
        return std::nullopt;
    }
    frame.size = static_cast<std::size_t>(
        (mpeg1 ? 144000 : 72000) * frame.bitrate / frame.sampleRate + padding);
    if (offset + frame.size > data.size()) {
        return std::nullopt;
    }
    return frame;
}

std::uint32_t BigEndian(const std::vector<unsigned char>& data, std::size_t offset) {
    return std::uint32_t(data[offset]) << 24 | std::uint32_t(data[offset + 1]) << 16 |
           std::uint32_t(data[offset + 2]) << 8 | data[offset + 3];
}

} // namespace

std::vector<unsigned char> ReadFile(const std::string& path) {
    std::ifstream in(path, std::ios::binary);
    return {std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>()};
}

std::vector<Mp3Frame> ParseFrames(const std::vector<unsigned char>& data) {
    std::size_t offset = 0;
    if (data.size() >= 10 && data[0] == 'I' && data[1] == 'D' && data[2] == '3') {
        offset = 10 + (std::size_t(data[6] & 0x7F) << 21 | std::size_t(data[7] & 0x7F) << 14 |
                       std::size_t(data[8] & 0x7F) << 7 | std::size_t(data[9] & 0x7F));
    }
    std::vector<Mp3Frame> frames;
    while (const std::optional<Mp3Frame> frame = FrameAt(data, offset)) {
        frames.push_back(*frame);
        offset += frame->size;
    }
    return frames;
}

std::optional<LameTag> ReadLameTag(const std::vector<unsigned char>& data, const Mp3Frame& first) {
    const bool mpeg1 = first.samples == 1152;
    const std::size_t sideInfo = mpeg1 ? (first.mono ? 17 : 32) : (first.mono ? 9 : 17);
    std::size_t at = first.offset + 4 + sideInfo;
    if (at + 8 > first.offset + first.size) {
        return std::nullopt;
    }
    LameTag tag;
    tag.kind.assign(data.begin() + static_cast<std::ptrdiff_t>(at),
                    data.begin() + static_cast<std::ptrdiff_t>(at + 4));
    if (tag.kind != "Xing" && tag.kind != "Info") {
        return std::nullopt;
    }
    const std::uint32_t flags = BigEndian(data, at + 4);
    at += 8;
    if (flags & 1) {
        tag.frames = BigEndian(data, at);
        at += 4;
    }
    at += (flags & 2 ? 4 : 0) + (flags & 4 ? 100 : 0) + (flags & 8 ? 4 : 0);
    // The LAME extension: a 9-byte version, then 12 bytes of settings and gains, then the
    // delay and padding as two 12-bit numbers.
    if (at + 24 > first.offset + first.size || data[at] != 'L' || data[at + 1] != 'A') {
        return std::nullopt;
    }
    at += 21;
    tag.delay = data[at] << 4 | data[at + 1] >> 4;
    tag.padding = (data[at + 1] & 0x0F) << 8 | data[at + 2];
    return tag;
}

} // namespace gogotest
