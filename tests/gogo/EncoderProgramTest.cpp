// SPDX-License-Identifier: GPL-3.0-or-later
// The built encoder, run as the program runs it, checked with players that nobody here wrote
// (mpg123, ffmpeg's ffprobe and decoder) and against Debian's lame on the same library.
#include "EncoderRun.h"
#include "Mp3Stream.h"

#include <QJsonArray>
#include <QJsonDocument>
#include <QJsonObject>
#include <algorithm>
#include <cmath>
#include <filesystem>
#include <fstream>
#include <set>
#include <sys/wait.h>

namespace gogotest {
namespace {

const std::vector<std::string> kCbr128Joint{"-b", "128", "-cpu", "1", "-m", "j", "-priority", "10"};
constexpr std::int64_t kFrameSamples = 1152;

struct Probe {
    QString codec;
    int sampleRate = 0;
    int channels = 0;
    QString bitRate;
};

Probe FfProbe(const std::string& path) {
    const RunResult run =
        RunProgram({"ffprobe", "-v", "error", "-show_entries",
                    "stream=codec_name,sample_rate,channels,bit_rate", "-of", "json", path});
    EXPECT_TRUE(run.Succeeded()) << run.err;
    const QJsonObject stream = QJsonDocument::fromJson(QByteArray::fromStdString(run.out))
                                   .object()[QStringLiteral("streams")]
                                   .toArray()
                                   .at(0)
                                   .toObject();
    return {stream[QStringLiteral("codec_name")].toString(),
            stream[QStringLiteral("sample_rate")].toString().toInt(),
            stream[QStringLiteral("channels")].toInt(),
            stream[QStringLiteral("bit_rate")].toString()};
}

// Frames per channel that ffmpeg's decoder gives, encoder delay and padding removed.
std::int64_t FfmpegDecodedFrames(const std::string& path, int channels) {
    const RunResult run = RunProgram({"ffmpeg", "-v", "error", "-i", path, "-f", "s16le", "-"});
    EXPECT_TRUE(run.Succeeded()) << run.err;
    return static_cast<std::int64_t>(run.out.size()) / 2 / channels;
}

// Decodes with mpg123 (its test mode first, then to a WAV) and returns the frames it gives.
std::int64_t Mpg123DecodedFrames(const std::string& path, const std::string& wav) {
    const RunResult test = RunProgram({"mpg123", "-t", "-q", path});
    EXPECT_TRUE(test.Succeeded()) << test.err;
    const RunResult decode = RunProgram({"mpg123", "-q", "-w", wav, path});
    EXPECT_TRUE(decode.Succeeded()) << decode.err;
    return CountFrames(wav);
}

using EncoderProgram = EncoderTest;

TEST_F(EncoderProgram, WritesAnMp3ThatOtherPlayersDecodeToTheInputsLength) {
    const std::string output = Path("out.mp3");
    const RunResult run = RunProgram(GogoCommand(input_, output, kCbr128Joint));
    ASSERT_TRUE(run.Succeeded()) << run.err;

    const Probe probe = FfProbe(output);
    EXPECT_EQ(probe.codec, QStringLiteral("mp3"));
    EXPECT_EQ(probe.sampleRate, 44100);
    EXPECT_EQ(probe.channels, 2);
    EXPECT_EQ(probe.bitRate, QStringLiteral("128000"));
    EXPECT_NEAR(FfmpegDecodedFrames(output, 2), inputFrames_, kFrameSamples);
    EXPECT_NEAR(Mpg123DecodedFrames(output, Path("decoded.wav")), inputFrames_, kFrameSamples);

    const std::vector<unsigned char> data = ReadFile(output);
    const std::vector<Mp3Frame> frames = ParseFrames(data);
    ASSERT_GT(frames.size(), 1u);
    EXPECT_EQ(frames.back().offset + frames.back().size, data.size());
    for (const Mp3Frame& frame : frames) {
        EXPECT_EQ(frame.bitrate, 128);
        EXPECT_FALSE(frame.mono);
    }
    // The LAME tag tells players the encoder delay and padding, for gapless playback.
    const std::optional<LameTag> tag = ReadLameTag(data, frames[0]);
    ASSERT_TRUE(tag);
    EXPECT_EQ(tag->kind, "Info");
    EXPECT_EQ(tag->frames, frames.size() - 1);
    EXPECT_EQ(std::int64_t(tag->frames) * kFrameSamples - tag->delay - tag->padding, inputFrames_);
}

TEST_F(EncoderProgram, ReportsProgressFromZeroToHundredAndClosesWithEndOfEncoding) {
    const RunResult run = RunProgram(GogoCommand(input_, Path("out.mp3"), kCbr128Joint));
    ASSERT_TRUE(run.Succeeded()) << run.err;

    ASSERT_FALSE(run.out.empty());
    EXPECT_EQ(run.out.back(), '\r');
    EXPECT_EQ(run.out.find('\n'), std::string::npos);
    const std::vector<float> percentages = Percentages(run.out);
    ASSERT_GE(percentages.size(), 101u);
    EXPECT_EQ(percentages.front(), 0.0f);
    EXPECT_EQ(percentages.back(), 100.0f);
    for (std::size_t i = 1; i < percentages.size(); ++i) {
        EXPECT_GE(percentages[i], percentages[i - 1]);
        EXPECT_LE(percentages[i] - percentages[i - 1], 1.0f);
    }

    // One start-up line naming the encoder, the input and the settings, then the closing text.
    const std::string closing = "End of encoding\n";
    ASSERT_TRUE(run.err.ends_with(closing)) << run.err;
    const std::string startup = run.err.substr(0, run.err.size() - closing.size());
    EXPECT_TRUE(startup.starts_with("gogo")) << startup;
    EXPECT_EQ(std::ranges::count(startup, '\n'), 1) << startup;
    EXPECT_TRUE(startup.ends_with('\n'));
    EXPECT_NE(startup.find("in.wav"), std::string::npos) << startup;
    EXPECT_NE(startup.find("CBR 128 kbit/s"), std::string::npos) << startup;
    EXPECT_NE(startup.find("joint stereo"), std::string::npos) << startup;
}

// The program reads the start-up text in one block of at most 1024 bytes, and the closing text
// in the next; a start-up line longer than that would push "End of encoding" out of its reach.
TEST_F(EncoderProgram, StartUpLineStaysShortWithLongFileNames) {
    const std::string input = Path(std::string(240, 'i') + ".wav");
    std::filesystem::copy_file(input_, input);
    const RunResult run =
        RunProgram(GogoCommand(input, Path(std::string(240, 'o') + ".mp3"), kCbr128Joint));
    ASSERT_TRUE(run.Succeeded()) << run.err;
    EXPECT_LT(run.err.size(), 1024u);
    EXPECT_NE(run.err.find("iiii..."), std::string::npos) << run.err;
    EXPECT_TRUE(run.err.ends_with("\nEnd of encoding\n"));
}

TEST_F(EncoderProgram, VariableBitRateFramesVary) {
    const std::string output = Path("out.mp3");
    const RunResult run = RunProgram(GogoCommand(
        input_, output, {"-b", "128", "-cpu", "1", "-v", "2", "-m", "j", "-priority", "10"}));
    ASSERT_TRUE(run.Succeeded()) << run.err;

    const std::vector<unsigned char> data = ReadFile(output);
    const std::vector<Mp3Frame> frames = ParseFrames(data);
    ASSERT_GT(frames.size(), 1u);
    std::set<int> bitrates;
    for (std::size_t i = 1; i < frames.size(); ++i) {
        bitrates.insert(frames[i].bitrate);
    }
    EXPECT_GT(bitrates.size(), 1u);
    const std::optional<LameTag> tag = ReadLameTag(data, frames[0]);
    ASSERT_TRUE(tag);
    EXPECT_EQ(tag->kind, "Xing");
    EXPECT_EQ(FfProbe(output).codec, QStringLiteral("mp3"));
    EXPECT_NEAR(FfmpegDecodedFrames(output, 2), inputFrames_, kFrameSamples);
}

TEST_F(EncoderProgram, MonoModeMixesStereoDownToOneChannel) {
    const std::string output = Path("out.mp3");
    const RunResult run = RunProgram(
        GogoCommand(input_, output, {"-b", "64", "-cpu", "1", "-m", "m", "-priority", "10"}));
    ASSERT_TRUE(run.Succeeded()) << run.err;

    const std::vector<Mp3Frame> frames = ParseFrames(ReadFile(output));
    ASSERT_GT(frames.size(), 1u);
    for (const Mp3Frame& frame : frames) {
        EXPECT_TRUE(frame.mono);
        EXPECT_EQ(frame.bitrate, 64);
    }
    const Probe probe = FfProbe(output);
    EXPECT_EQ(probe.channels, 1);
    EXPECT_EQ(probe.bitRate, QStringLiteral("64000"));
    EXPECT_NEAR(FfmpegDecodedFrames(output, 1), inputFrames_, kFrameSamples);
}

TEST_F(EncoderProgram, OptionsInAnyOrderGiveTheSameFile) {
    ASSERT_TRUE(
        RunProgram(GogoCommand(input_, Path("a.mp3"),
                               {"-b", "96", "-cpu", "2", "-nopsy", "-m", "s", "-priority", "9"}))
            .Succeeded());
    ASSERT_TRUE(RunProgram({GOGO_PATH, "-priority", "9", "-m", "s", input_, "-nopsy", "-cpu", "2",
                            Path("b.mp3"), "-b", "96"})
                    .Succeeded());
    EXPECT_EQ(ReadFile(Path("a.mp3")), ReadFile(Path("b.mp3")));
}

TEST_F(EncoderProgram, DeleteRemovesTheInputAfterSuccess) {
    std::vector<std::string> options = kCbr128Joint;
    options.emplace_back("-delete");
    const RunResult run = RunProgram(GogoCommand(input_, Path("out.mp3"), options));
    ASSERT_TRUE(run.Succeeded()) << run.err;
    EXPECT_TRUE(run.err.ends_with("End of encoding\n"));
    EXPECT_EQ(FolderContents(Path("")), std::vector<std::string>{"out.mp3"});
}

TEST_F(EncoderProgram, AnExistingOutputIsReplaced) {
    const std::string output = Path("out.mp3");
    ASSERT_TRUE(RunProgram({"sh", "-c", "echo old > \"$0\"", output}).Succeeded());
    ASSERT_TRUE(RunProgram(GogoCommand(input_, output, kCbr128Joint)).Succeeded());
    EXPECT_GT(ParseFrames(ReadFile(output)).size(), 1u);
    EXPECT_EQ(FolderContents(Path("")), (std::vector<std::string>{"in.wav", "out.mp3"}));
}

TEST_F(EncoderProgram, CommandLineErrorsPrintTheUsageAndCreateNothing) {
    const std::vector<std::vector<std::string>> commands{
        {GOGO_PATH},
        GogoCommand(input_, Path("out.mp3"), {"-b", "128", "-cpu", "1", "-priority", "10"}),
        GogoCommand(input_, Path("out.mp3"),
                    {"-b", "128", "-cpu", "1", "-m", "j", "-priority", "10", "-q", "2"}),
        GogoCommand(input_, Path("out.mp3"),
                    {"-b", "100", "-cpu", "1", "-m", "j", "-priority", "10", "-delete"}),
    };
    for (const std::vector<std::string>& command : commands) {
        const RunResult run = RunProgram(command);
        EXPECT_TRUE(WIFEXITED(run.status) && WEXITSTATUS(run.status) == 2) << run.err;
        EXPECT_NE(run.err.find("usage: gogo"), std::string::npos) << run.err;
        EXPECT_EQ(run.err.find("End of encoding"), std::string::npos);
        EXPECT_TRUE(run.out.empty());
    }
    EXPECT_EQ(FolderContents(Path("")), std::vector<std::string>{"in.wav"});
}

struct WavKind {
    const char* name;
    WavLayout layout;
};

class EveryWav : public EncoderTest, public ::testing::WithParamInterface<WavKind> {};

TEST_P(EveryWav, IsEncodedToItsFullLength) {
    const WavLayout& layout = GetParam().layout;
    const std::string input = Path("kind.wav");
    const std::int64_t frames = WriteTestWav(input, layout);
    const std::string output = Path("kind.mp3");
    const RunResult run = RunProgram(GogoCommand(input, output, kCbr128Joint));
    ASSERT_TRUE(run.Succeeded()) << run.err;
    EXPECT_TRUE(run.err.ends_with("End of encoding\n"));
    const Probe probe = FfProbe(output);
    EXPECT_EQ(probe.channels, layout.channels);
    EXPECT_EQ(probe.sampleRate, layout.sampleRate);
    const std::int64_t frameSamples = layout.sampleRate >= 32000 ? 1152 : 576;
    EXPECT_NEAR(FfmpegDecodedFrames(output, layout.channels), frames, frameSamples);
}

INSTANTIATE_TEST_SUITE_P(
    Kinds, EveryWav,
    ::testing::Values(WavKind{"Unsigned8", {SF_FORMAT_WAV | SF_FORMAT_PCM_U8, 2, 44100, 0.5}},
                      WavKind{"Pcm16Mono", {SF_FORMAT_WAV | SF_FORMAT_PCM_16, 1, 44100, 0.5}},
                      WavKind{"Pcm24", {SF_FORMAT_WAV | SF_FORMAT_PCM_24, 2, 44100, 0.5}},
                      WavKind{"Pcm32", {SF_FORMAT_WAV | SF_FORMAT_PCM_32, 2, 48000, 0.5}},
                      WavKind{"Float", {SF_FORMAT_WAV | SF_FORMAT_FLOAT, 2, 44100, 0.5}},
                      WavKind{"Double", {SF_FORMAT_WAV | SF_FORMAT_DOUBLE, 1, 32000, 0.5}},
                      WavKind{"Extensible16", {SF_FORMAT_WAVEX | SF_FORMAT_PCM_16, 2, 44100, 0.5}},
                      WavKind{"ExtensibleFloat",
                              {SF_FORMAT_WAVEX | SF_FORMAT_FLOAT, 2, 44100, 0.5}},
                      WavKind{"Pcm16At22050", {SF_FORMAT_WAV | SF_FORMAT_PCM_16, 2, 22050, 0.5}},
                      WavKind{"ImaAdpcm", {SF_FORMAT_WAV | SF_FORMAT_IMA_ADPCM, 2, 44100, 0.5}}),
    [](const ::testing::TestParamInfo<WavKind>& kind) { return std::string(kind.param.name); });

struct LameMatch {
    const char* name;
    std::vector<std::string> ours;
    std::vector<std::string> lame;
};

class LikeLame : public EncoderTest, public ::testing::WithParamInterface<LameMatch> {};

// Same library, same settings: the audio frames must be the same. The whole files are the same
// too, since the LAME tag is written with the same settings and ReplayGain analysis.
TEST_P(LikeLame, WritesTheSameFramesAsLameWithMatchingSettings) {
    ExpectSameFileAsLame(input_, GetParam().ours, GetParam().lame);
}

INSTANTIATE_TEST_SUITE_P(
    Settings, LikeLame,
    ::testing::Values(LameMatch{"Cbr128Joint",
                                {"-b", "128", "-cpu", "1", "-m", "j", "-priority", "10"},
                                {"-b", "128", "-m", "j"}},
                      LameMatch{"Cbr192Stereo",
                                {"-b", "192", "-cpu", "1", "-m", "s", "-priority", "10"},
                                {"-b", "192", "-m", "s"}},
                      LameMatch{"Cbr64Mono",
                                {"-b", "64", "-cpu", "1", "-m", "m", "-priority", "10"},
                                {"-b", "64", "-m", "m"}},
                      LameMatch{"Vbr4Joint",
                                {"-b", "128", "-cpu", "1", "-v", "4", "-m", "j", "-priority", "10"},
                                {"-V", "4", "-m", "j"}},
                      LameMatch{"NoPsyCbr",
                                {"-b", "128", "-cpu", "1", "-nopsy", "-m", "j", "-priority", "10"},
                                {"-b", "128", "-q", "9", "-m", "j"}}),
    [](const ::testing::TestParamInfo<LameMatch>& match) { return std::string(match.param.name); });

struct StrayBytes {
    const char* name;
    int channels;
    int bits;
    int sampleRate;
    int strayBytes; // data after the last whole frame
};

class LikeLameOnAPartialLastFrame : public EncoderTest,
                                    public ::testing::WithParamInterface<StrayBytes> {};

// A data chunk that stops inside a frame, as a cut-off recording leaves it.
TEST_P(LikeLameOnAPartialLastFrame, WritesTheSameFileAsLame) {
    const StrayBytes& kind = GetParam();
    const std::string input = Path("partial.wav");
    WriteWavWithStrayBytes(input, kind.channels, kind.bits, kind.sampleRate, kind.sampleRate,
                           kind.strayBytes);
    ExpectSameFileAsLame(input, kCbr128Joint, {"-b", "128", "-m", "j"});
}

INSTANTIATE_TEST_SUITE_P(
    Remainders, LikeLameOnAPartialLastFrame,
    ::testing::Values(StrayBytes{"OneByteOfAStereoFrame", 2, 16, 44100, 1},
                      StrayBytes{"OneSampleOfAStereoFrame", 2, 16, 44100, 2},
                      StrayBytes{"ThreeBytesOfAStereoFrame", 2, 16, 44100, 3},
                      StrayBytes{"OneSampleOf24BitStereoAt22050", 2, 24, 22050, 3},
                      StrayBytes{"OneByteOfAMonoFrame", 1, 16, 44100, 1}),
    [](const ::testing::TestParamInfo<StrayBytes>& kind) { return std::string(kind.param.name); });

// A recorder that crashed or streamed leaves the data chunk's size at 0 with the audio after it:
// the audio is read to the end of the file. A chunk that says 0 and is followed by another chunk
// is empty.
TEST_F(EncoderProgram, ReadsADataChunkThatSaysItIsEmptyToTheEndOfTheFile) {
    const std::string input = Path("hollow.wav");
    const std::int64_t frames = WriteWavWithStrayBytes(input, 2, 16, 44100, 44100, 0);
    const std::vector<unsigned char> whole = ReadFile(input);
    const auto data = static_cast<size_t>(
        std::search(whole.begin(), whole.end(), std::begin("data"), std::end("data") - 1) -
        whole.begin());
    struct Case {
        const char* name;
        bool riffSizeZero;
        bool chunkAfterData;
        std::int64_t frames;
    };
    for (const Case& c : {Case{"data size 0", false, false, frames},
                          Case{"RIFF and data size 0", true, false, frames},
                          Case{"an empty data chunk, then a LIST chunk", false, true, 0}}) {
        SCOPED_TRACE(c.name);
        std::vector<unsigned char> bytes = whole;
        std::fill_n(bytes.begin() + static_cast<std::ptrdiff_t>(data) + 4, 4, 0);
        if (c.riffSizeZero) {
            std::fill_n(bytes.begin() + 4, 4, 0);
        }
        if (c.chunkAfterData) {
            bytes.resize(data + 8);
            for (const unsigned char byte : std::string_view("LIST\4\0\0\0INFO", 12)) {
                bytes.push_back(byte);
            }
        }
        std::ofstream(input, std::ios::binary)
            .write(reinterpret_cast<const char*>(bytes.data()),
                   static_cast<std::streamsize>(bytes.size()));
        const std::string output = Path("hollow.mp3");
        const RunResult run = RunProgram(GogoCommand(input, output, kCbr128Joint));
        ASSERT_TRUE(run.Succeeded()) << run.err;
        EXPECT_NEAR(Mpg123DecodedFrames(output, Path("decoded.wav")), c.frames, kFrameSamples);
    }
}

// Overwrites samples of a float WAV file from the given frame on.
void OverwriteSamples(const std::string& path, sf_count_t frame,
                      const std::vector<float>& samples) {
    SF_INFO info{};
    SNDFILE* file = sf_open(path.c_str(), SFM_RDWR, &info);
    ASSERT_NE(file, nullptr) << sf_strerror(nullptr);
    sf_seek(file, frame, SEEK_SET);
    sf_write_float(file, samples.data(), static_cast<sf_count_t>(samples.size()));
    sf_close(file);
}

// libmp3lame asserts on samples that are not numbers; such samples are silence, and samples
// beyond full scale are full scale.
TEST_F(EncoderProgram, EncodesFloatSamplesThatAreNotFiniteOrBeyondFullScaleAsTheirLimit) {
    struct Replacement {
        float sample;
        float limit;
    };
    const std::vector<Replacement> replacements{
        {std::nanf(""), 0.0f}, {INFINITY, 0.0f}, {-INFINITY, 0.0f}, {1e30f, 1.0f}, {-2.5f, -1.0f}};
    const std::string odd = Path("odd.wav");
    const std::string plain = Path("plain.wav");
    for (const std::string& path : {odd, plain}) {
        WriteTestWav(path, {SF_FORMAT_WAV | SF_FORMAT_FLOAT, 2, 44100, 0.5});
    }
    for (std::size_t i = 0; i < replacements.size(); ++i) {
        const auto frame = static_cast<sf_count_t>(1000 + 2000 * i);
        OverwriteSamples(odd, frame, {replacements[i].sample, replacements[i].sample});
        OverwriteSamples(plain, frame, {replacements[i].limit, replacements[i].limit});
    }
    for (const std::string name : {"odd", "plain"}) {
        const RunResult run =
            RunProgram(GogoCommand(Path(name + ".wav"), Path(name + ".mp3"), kCbr128Joint));
        ASSERT_TRUE(run.Succeeded()) << name << ": " << run.err;
    }
    EXPECT_EQ(ReadFile(Path("odd.mp3")), ReadFile(Path("plain.mp3")));
}

// Progress lines are for a reader that may have gone away or stopped reading; the encoding goes
// on without them.
TEST_F(EncoderProgram, EncodesWhenProgressCannotBeWritten) {
    for (const StandardOutput out :
         {StandardOutput::Closed, StandardOutput::NoReader, StandardOutput::Full}) {
        const std::string output = Path("out.mp3");
        std::filesystem::remove(output);
        ChildOptions options;
        options.standardOutput = out;
        const RunResult run = RunProgram(GogoCommand(input_, output, kCbr128Joint), options);
        EXPECT_TRUE(run.Succeeded()) << static_cast<int>(out) << ": " << run.err;
        EXPECT_TRUE(run.err.ends_with("End of encoding\n")) << run.err;
        EXPECT_EQ(FolderContents(Path("")), (std::vector<std::string>{"in.wav", "out.mp3"}));
        EXPECT_GT(ParseFrames(ReadFile(output)).size(), 1u);
    }
}

} // namespace
} // namespace gogotest
