// SPDX-License-Identifier: GPL-3.0-or-later
// Reads an MP3 file's frame headers and its LAME tag, independently of libmp3lame, so the tests
// can check what the encoder wrote.
#pragma once

#include <cstdint>
#include <optional>
#include <string>
#include <vector>

namespace gogotest {

struct Mp3Frame {
    std::size_t offset = 0;
    std::size_t size = 0;
    int bitrate = 0; // kbit/s
    int sampleRate = 0;
    bool mono = false;
    int samples = 0; // per channel: 1152 for MPEG-1, 576 for MPEG-2 and 2.5
};

struct LameTag {
    std::string kind;         // "Info" for a constant bit rate, "Xing" for a variable one
    std::uint32_t frames = 0; // audio frames after the tag frame
    int delay = 0;            // encoder delay in samples
    int padding = 0;          // samples added at the end
};

std::vector<unsigned char> ReadFile(const std::string& path);

// The frames from the start of the file (after an ID3v2 tag) to the first byte that does not
// begin a frame.
std::vector<Mp3Frame> ParseFrames(const std::vector<unsigned char>& data);

// The Xing/Info header of the first frame with its LAME extension, if there is one.
std::optional<LameTag> ReadLameTag(const std::vector<unsigned char>& data, const Mp3Frame& first);

} // namespace gogotest
