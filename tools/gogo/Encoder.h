// SPDX-License-Identifier: GPL-3.0-or-later
// The encode loop: reads PCM from a source, encodes it with libmp3lame, writes the MP3 stream to
// a sink, reports progress and finally writes the LAME tag (encoder delay and padding, for
// gapless playback) over the placeholder frame at the start of the stream.
#pragma once

#include "CommandLine.h"
#include "Progress.h"

#include <cstdint>
#include <functional>
#include <span>
#include <string>

namespace gogo {

struct AudioFormat {
    int channels = 0;   // 1 or 2
    int sampleRate = 0; // Hz
    std::int64_t frames = 0;
    bool floatingPoint = false; // read as floats (full scale ±1) rather than 32-bit integers
};

class PcmSource {
public:
    virtual ~PcmSource() = default;
    virtual AudioFormat Format() const = 0;
    // Each reads up to `frames` interleaved frames and returns the number of samples read (frames
    // times channels), 0 at the end of the audio, -1 on a read error (described by Error()).
    // Where the audio data ends inside a frame, the read that reaches the end also gives the
    // whole samples of that partial frame, so its count is not a multiple of the channels.
    virtual std::int64_t ReadInt(std::int32_t* buffer, std::int64_t frames) = 0;
    virtual std::int64_t ReadFloat(float* buffer, std::int64_t frames) = 0;
    virtual std::string Error() const = 0;
};

class ByteSink {
public:
    virtual ~ByteSink() = default;
    // Each returns false on failure, described by Error().
    virtual bool Write(std::span<const unsigned char> bytes) = 0;
    virtual bool WriteAt(std::uint64_t offset, std::span<const unsigned char> bytes) = 0;
    virtual std::string Error() const = 0;
};

struct EncodeResult {
    enum class Status { Done, Failed, Stopped };
    Status status = Status::Done;
    std::string error; // for Failed
};

EncodeResult Encode(const Settings& settings, PcmSource& source, ByteSink& sink,
                    ProgressReporter& progress, const std::function<bool()>& stopRequested);

} // namespace gogo
