// SPDX-License-Identifier: GPL-3.0-or-later
// The encode loop with audio from memory and a sink in memory: what it writes, how it stops and
// how it fails.
#include "Encoder.h"
#include "Mp3Stream.h"

#include <cmath>
#include <cstring>
#include <gtest/gtest.h>
#include <numbers>

using namespace gogo;

namespace {

class MemorySource final : public PcmSource {
public:
    MemorySource(int channels, std::int64_t frames) : frames_(frames) {
        format_ = {channels, 44100, frames, false};
    }
    [[nodiscard]] AudioFormat Format() const override { return format_; }
    std::int64_t ReadInt(std::int32_t* buffer, std::int64_t frames) override {
        if (failAt_ >= 0 && position_ >= failAt_) {
            return -1;
        }
        const std::int64_t count = std::min(frames, frames_ - position_);
        for (std::int64_t i = 0; i < count * format_.channels; ++i) {
            const std::int64_t frame = position_ + i / format_.channels;
            const double t = double(frame) / 44100.0;
            buffer[i] = static_cast<std::int32_t>(std::sin(2 * std::numbers::pi * 440 * t) * 1e9);
        }
        position_ += count;
        return count * format_.channels;
    }
    std::int64_t ReadFloat(float* /*buffer*/, std::int64_t /*frames*/) override { return -1; }
    [[nodiscard]] std::string Error() const override { return "the disk went away"; }

    std::int64_t failAt_ = -1;

private:
    AudioFormat format_;
    std::int64_t frames_;
    std::int64_t position_ = 0;
};

class MemorySink final : public ByteSink {
public:
    bool Write(std::span<const unsigned char> bytes) override {
        if (writesLeft_ == 0) {
            return false;
        }
        --writesLeft_;
        data_.insert(data_.end(), bytes.begin(), bytes.end());
        return true;
    }
    bool WriteAt(std::uint64_t offset, std::span<const unsigned char> bytes) override {
        if (offset + bytes.size() > data_.size()) {
            return false;
        }
        std::memcpy(data_.data() + offset, bytes.data(), bytes.size());
        return true;
    }
    [[nodiscard]] std::string Error() const override { return "no space left"; }

    std::vector<unsigned char> data_;
    int writesLeft_ = -1;
};

struct ProgressLog {
    std::vector<std::string> lines;
    ProgressReporter progress{[this](std::string_view line) { lines.emplace_back(line); },
                              [] { return 0.0; }};
};

Settings Cbr128() {
    Settings settings;
    settings.bitrate = 128;
    settings.mode = ChannelMode::JointStereo;
    return settings;
}

TEST(EncodeLoop, WritesTheStreamWithTheLameTagOverItsFirstFrame) {
    MemorySource source(2, 44100);
    MemorySink sink;
    ProgressLog run;
    const EncodeResult result = Encode(Cbr128(), source, sink, run.progress, [] { return false; });
    ASSERT_EQ(result.status, EncodeResult::Status::Done) << result.error;

    const std::vector<gogotest::Mp3Frame> frames = gogotest::ParseFrames(sink.data_);
    ASSERT_GT(frames.size(), 2u);
    EXPECT_EQ(frames.back().offset + frames.back().size, sink.data_.size());
    const std::optional<gogotest::LameTag> tag = gogotest::ReadLameTag(sink.data_, frames[0]);
    ASSERT_TRUE(tag);
    EXPECT_EQ(tag->kind, "Info");
    EXPECT_EQ(tag->frames, frames.size() - 1);
    EXPECT_EQ(std::int64_t(tag->frames) * 1152 - tag->delay - tag->padding, 44100);
    EXPECT_EQ(run.lines.back().substr(0, 2 + std::to_string(tag->frames).size()),
              "{" + std::to_string(tag->frames) + "/");
}

TEST(EncodeLoop, AFailedWriteEndsTheEncodingWithTheSinksReason) {
    MemorySource source(2, 44100);
    MemorySink sink;
    sink.writesLeft_ = 3;
    ProgressLog run;
    const EncodeResult result = Encode(Cbr128(), source, sink, run.progress, [] { return false; });
    EXPECT_EQ(result.status, EncodeResult::Status::Failed);
    EXPECT_EQ(result.error, "no space left");
    EXPECT_EQ(run.lines.back().find("100.0%"), std::string::npos);
}

TEST(EncodeLoop, AReadErrorEndsTheEncodingWithTheSourcesReason) {
    MemorySource source(1, 44100);
    source.failAt_ = 20000;
    MemorySink sink;
    ProgressLog run;
    const EncodeResult result = Encode(Cbr128(), source, sink, run.progress, [] { return false; });
    EXPECT_EQ(result.status, EncodeResult::Status::Failed);
    EXPECT_EQ(result.error, "cannot read the input: the disk went away");
}

} // namespace
