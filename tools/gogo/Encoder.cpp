// SPDX-License-Identifier: GPL-3.0-or-later
#include "Encoder.h"

#include <algorithm>
#include <cmath>
#include <cstdarg>
#include <cstdio>
#include <lame/lame.h>
#include <memory>
#include <vector>

namespace gogo {
namespace {

struct LameDeleter {
    void operator()(lame_global_flags* flags) const { lame_close(flags); }
};
using Lame = std::unique_ptr<lame_global_flags, LameDeleter>;

// libmp3lame prints its messages to standard error unless told otherwise; standard error belongs
// to the start-up line and the closing text, so its messages are dropped.
void Quiet(const char* /*format*/, va_list /*args*/) {}

// Frames per read: about a thousandth of the file, so that every tenth of a percent is seen.
std::int64_t ChunkFrames(std::int64_t totalFrames) {
    return std::clamp<std::int64_t>(totalFrames / 1000, 1, 8192);
}

std::string Configure(lame_global_flags* lame, const Settings& settings,
                      const AudioFormat& format) {
    lame_set_errorf(lame, Quiet);
    lame_set_debugf(lame, Quiet);
    lame_set_msgf(lame, Quiet);
    lame_set_num_channels(lame, format.channels);
    lame_set_in_samplerate(lame, format.sampleRate);
    lame_set_num_samples(lame, static_cast<unsigned long>(format.frames));
    switch (settings.mode) {
    case ChannelMode::Stereo:
        lame_set_mode(lame, STEREO);
        break;
    case ChannelMode::Mono:
        lame_set_mode(lame, MONO); // libmp3lame mixes stereo input down to one channel
        break;
    case ChannelMode::JointStereo:
        lame_set_mode(lame, JOINT_STEREO);
        break;
    }
    if (settings.vbrLevel) {
        lame_set_VBR(lame, vbr_default);
        lame_set_VBR_q(lame, *settings.vbrLevel);
    } else {
        lame_set_VBR(lame, vbr_off);
        lame_set_brate(lame, settings.bitrate);
    }
    if (settings.noPsy) {
        lame_set_quality(lame, 9);
    }
    // The ReplayGain value goes into the LAME tag, as the lame front end does by default.
    lame_set_findReplayGain(lame, 1);
    lame_set_bWriteVbrTag(lame, 1);
    if (lame_init_params(lame) < 0) {
        return "the MP3 encoder cannot encode " + std::to_string(format.sampleRate) +
               " Hz audio with these settings";
    }
    return {};
}

// libmp3lame asserts on samples that are not numbers or infinite and expects no more than full
// scale: such samples become silence or full scale.
void Limit(std::span<float> samples) {
    for (float& sample : samples) {
        sample = std::isfinite(sample) ? std::clamp(sample, -1.0f, 1.0f) : 0.0f;
    }
}

class EncodeLoop {
public:
    EncodeLoop(lame_global_flags* lame, PcmSource& source, ByteSink& sink,
               ProgressReporter& progress)
        : lame_(lame), source_(source), sink_(sink), progress_(progress), format_(source.Format()),
          frameSize_(lame_get_framesize(lame)), chunk_(ChunkFrames(format_.frames)),
          capacity_(std::max(chunk_, frameSize_)) {
        const auto frames = static_cast<std::size_t>(capacity_);
        const auto samples = frames * static_cast<std::size_t>(format_.channels);
        if (format_.floatingPoint) {
            floats_.resize(samples);
            leftFloat_.resize(frames);
            rightFloat_.resize(frames);
        } else {
            ints_.resize(samples);
            left_.resize(frames);
            right_.resize(frames);
        }
        // libmp3lame's bound for the MP3 bytes of one call: 1.25 x samples + 7200.
        mp3_.resize(frames + frames / 4 + 7200);
    }

    EncodeResult Run(const std::function<bool()>& stopRequested) {
        progress_.Update(0, lame_get_totalframes(lame_), 0.0);
        std::int64_t done = 0;
        for (;;) {
            if (stopRequested()) {
                return {EncodeResult::Status::Stopped, {}};
            }
            const std::int64_t read = ReadChunk(done);
            if (read < 0) {
                return Failed("cannot read the input: " + source_.Error());
            }
            if (read == 0) {
                break;
            }
            const int bytes = format_.floatingPoint ? EncodeFloat(read) : EncodeInt(read);
            if (!Emit(bytes)) {
                return Failed(error_);
            }
            done += read;
            const double fraction = format_.frames > 0 ? double(done) / double(format_.frames) : 0;
            progress_.Update(lame_get_frameNum(lame_), lame_get_totalframes(lame_), fraction);
        }
        if (!Emit(lame_encode_flush(lame_, mp3_.data(), static_cast<int>(mp3_.size())))) {
            return Failed(error_);
        }
        if (!WriteTag()) {
            return Failed(error_);
        }
        if (stopRequested()) {
            return {EncodeResult::Status::Stopped, {}};
        }
        progress_.Finish(lame_get_frameNum(lame_));
        return {};
    }

private:
    // Reads the frames from `position` on and splits them into the two channel buffers that
    // libmp3lame takes (its interleaved calls assume two channels; for mono input both hold the
    // one). Returns the number of frames read, or -1.
    //
    // Reads stop where the audio's last part shorter than libmp3lame's frame size begins, and that
    // part is read in one read, as lame reads it. Where the data ends inside a frame, lame keeps
    // the last whole frames' worth of samples of that read, so the stray samples of the partial
    // frame shift the part (in stereo by one sample: its channels change places). Doing the same
    // keeps the file byte-identical to lame's.
    std::int64_t ReadChunk(std::int64_t position) {
        const std::int64_t lastPart = format_.frames - format_.frames % frameSize_;
        const std::int64_t wanted =
            position < lastPart ? std::min(chunk_, lastPart - position) : capacity_;
        if (format_.floatingPoint) {
            const std::int64_t frames = Take(floats_, source_.ReadFloat(floats_.data(), wanted));
            Limit({floats_.data(),
                   static_cast<std::size_t>(std::max<std::int64_t>(frames, 0) * format_.channels)});
            Split(floats_, leftFloat_, rightFloat_, frames);
            return frames;
        }
        const std::int64_t frames = Take(ints_, source_.ReadInt(ints_.data(), wanted));
        Split(ints_, left_, right_, frames);
        return frames;
    }

    // The whole frames among the samples read, moved to the start of the buffer past the samples
    // of a partial frame; -1 for a failed read.
    template <typename T>
    std::int64_t Take(std::vector<T>& interleaved, std::int64_t samples) const {
        if (samples < 0) {
            return -1;
        }
        const std::int64_t stray = samples % format_.channels;
        if (stray > 0) {
            std::copy(interleaved.begin() + stray, interleaved.begin() + samples,
                      interleaved.begin());
        }
        return samples / format_.channels;
    }

    template <typename T>
    void Split(const std::vector<T>& interleaved, std::vector<T>& left, std::vector<T>& right,
               std::int64_t frames) const {
        const auto channels = static_cast<std::size_t>(format_.channels);
        for (std::size_t i = 0; i < static_cast<std::size_t>(std::max<std::int64_t>(frames, 0));
             ++i) {
            left[i] = interleaved[i * channels];
            right[i] = interleaved[i * channels + channels - 1];
        }
    }

    int EncodeInt(std::int64_t frames) {
        return lame_encode_buffer_int(lame_, left_.data(), right_.data(), static_cast<int>(frames),
                                      mp3_.data(), static_cast<int>(mp3_.size()));
    }

    int EncodeFloat(std::int64_t frames) {
        return lame_encode_buffer_ieee_float(lame_, leftFloat_.data(), rightFloat_.data(),
                                             static_cast<int>(frames), mp3_.data(),
                                             static_cast<int>(mp3_.size()));
    }

    // Writes what libmp3lame produced; a negative count is its error code.
    bool Emit(int bytes) {
        if (bytes < 0) {
            error_ = "the MP3 encoder failed (libmp3lame error " + std::to_string(bytes) + ")";
            return false;
        }
        if (!sink_.Write({mp3_.data(), static_cast<std::size_t>(bytes)})) {
            error_ = sink_.Error();
            return false;
        }
        return true;
    }

    // The first frame of the stream is a placeholder that the final tag replaces.
    bool WriteTag() {
        std::vector<unsigned char> tag(2880);
        std::size_t size = lame_get_lametag_frame(lame_, tag.data(), tag.size());
        if (size > tag.size()) {
            tag.resize(size);
            size = lame_get_lametag_frame(lame_, tag.data(), tag.size());
        }
        if (size > 0 && !sink_.WriteAt(0, {tag.data(), size})) {
            error_ = sink_.Error();
            return false;
        }
        return true;
    }

    static EncodeResult Failed(std::string message) {
        return {EncodeResult::Status::Failed, std::move(message)};
    }

    lame_global_flags* lame_;
    PcmSource& source_;
    ByteSink& sink_;
    ProgressReporter& progress_;
    AudioFormat format_;
    std::int64_t frameSize_; // samples per channel in an MP3 frame
    std::int64_t chunk_;     // frames per read
    std::int64_t capacity_;  // frames the buffers hold
    std::vector<std::int32_t> left_, right_, ints_;
    std::vector<float> leftFloat_, rightFloat_, floats_;
    std::vector<unsigned char> mp3_;
    std::string error_;
};

} // namespace

EncodeResult Encode(const Settings& settings, PcmSource& source, ByteSink& sink,
                    ProgressReporter& progress, const std::function<bool()>& stopRequested) {
    const Lame lame(lame_init());
    if (!lame) {
        return {EncodeResult::Status::Failed, "cannot start the MP3 encoder (out of memory)"};
    }
    const AudioFormat format = source.Format();
    if (format.channels < 1 || format.channels > 2) {
        return {EncodeResult::Status::Failed, "only mono and stereo audio can be encoded"};
    }
    if (std::string error = Configure(lame.get(), settings, format); !error.empty()) {
        return {EncodeResult::Status::Failed, std::move(error)};
    }
    return EncodeLoop(lame.get(), source, sink, progress).Run(stopRequested);
}

} // namespace gogo
