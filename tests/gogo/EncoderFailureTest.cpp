// SPDX-License-Identifier: GPL-3.0-or-later
// Every way the encoder can fail: a message on standard error, no "End of encoding", a non-zero
// exit status, no output left behind, and the input kept even with -delete.
#include "EncoderRun.h"
#include "Mp3Stream.h"
#include "support/TmpfsMount.h"

#include <csignal>
#include <cstring>
#include <filesystem>
#include <fstream>
#include <memory>
#include <sstream>
#include <sys/mount.h>
#include <sys/resource.h>
#include <sys/stat.h>
#include <sys/wait.h>
#include <unistd.h>

namespace gogotest {
namespace {

const std::vector<std::string> kOptions{"-b", "128",       "-cpu", "1",      "-m",
                                        "j",  "-priority", "10",   "-delete"};

std::string ReadText(const std::string& path) {
    std::ifstream in(path);
    std::stringstream text;
    text << in.rdbuf();
    return text.str();
}

class EncoderFailure : public EncoderTest {
protected:
    // Runs the encoder and checks what every failure shares: `message` is part of what standard
    // error says, and the output folder holds afterwards what it held before.
    RunResult RunAndExpectFailure(const std::vector<std::string>& command,
                                  const std::string& message, const std::string& outputFolder,
                                  const ChildOptions& options = {}) {
        const std::vector<std::string> before = Contents(outputFolder);
        const RunResult run = RunProgram(command, options);
        ExpectFailure(run, message);
        EXPECT_EQ(Contents(outputFolder), before);
        return run;
    }

    void ExpectFailure(const RunResult& run, const std::string& message) {
        EXPECT_FALSE(run.Succeeded());
        EXPECT_NE(run.err.find("gogo: "), std::string::npos) << run.err;
        EXPECT_NE(run.err.find(message), std::string::npos) << run.err;
        EXPECT_EQ(run.err.find("End of encoding"), std::string::npos) << run.err;
        EXPECT_EQ(CountFrames(input_), inputFrames_) << "the input must be kept";
    }

    // Makes the input hours long, for tests that stop the encoder in the middle.
    void UseLongInput() { inputFrames_ = WriteLongSilentWav(input_); }

    static std::vector<std::string> Contents(const std::string& folder) {
        return std::filesystem::is_directory(folder) ? FolderContents(folder)
                                                     : std::vector<std::string>{};
    }
};

TEST_F(EncoderFailure, MissingInput) {
    const std::string missing = Path("missing.wav");
    RunAndExpectFailure(GogoCommand(missing, Path("out.mp3"), kOptions),
                        "No such file or directory", Path(""));
}

TEST_F(EncoderFailure, UnreadableInput) {
    if (geteuid() == 0) {
        GTEST_SKIP() << "root reads every file";
    }
    chmod(input_.c_str(), 0);
    const RunResult run = RunProgram(GogoCommand(input_, Path("out.mp3"), kOptions));
    chmod(input_.c_str(), 0644);
    ExpectFailure(run, "Permission denied");
    EXPECT_EQ(FolderContents(Path("")), std::vector<std::string>{"in.wav"});
}

TEST_F(EncoderFailure, InputThatIsNoFile) {
    const std::string fifo = Path("fifo.wav");
    ASSERT_EQ(mkfifo(fifo.c_str(), 0644), 0);
    RunAndExpectFailure(GogoCommand(fifo, Path("out.mp3"), kOptions), "not a regular file",
                        Path(""));
}

TEST_F(EncoderFailure, InputThatIsNotAudio) {
    const std::string text = Path("notes.wav");
    std::ofstream(text) << "These are not samples.\n";
    RunAndExpectFailure(GogoCommand(text, Path("out.mp3"), kOptions), "not a WAV file", Path(""));
    EXPECT_TRUE(std::filesystem::exists(text));
}

TEST_F(EncoderFailure, AudioThatIsNotWav) {
    const std::string aiff = Path("song.aiff");
    WriteTestWav(aiff, {SF_FORMAT_AIFF | SF_FORMAT_PCM_16, 2, 44100, 0.2});
    RunAndExpectFailure(GogoCommand(aiff, Path("out.mp3"), kOptions), "not a WAV file", Path(""));
    EXPECT_TRUE(std::filesystem::exists(aiff));
}

TEST_F(EncoderFailure, MoreThanTwoChannels) {
    const std::string surround = Path("surround.wav");
    WriteTestWav(surround, {SF_FORMAT_WAV | SF_FORMAT_PCM_16, 3, 44100, 0.2});
    RunAndExpectFailure(GogoCommand(surround, Path("out.mp3"), kOptions), "3 channels", Path(""));
    EXPECT_TRUE(std::filesystem::exists(surround));
}

TEST_F(EncoderFailure, OutputIsTheInput) {
    const std::vector<unsigned char> before = ReadFile(input_);
    RunAndExpectFailure(GogoCommand(input_, input_, kOptions), "is the input file", Path(""));
    EXPECT_EQ(ReadFile(input_), before);
}

TEST_F(EncoderFailure, OutputFolderMissing) {
    const std::string folder = Path("no/such/folder");
    const RunResult run = RunAndExpectFailure(GogoCommand(input_, folder + "/out.mp3", kOptions),
                                              "No such file or directory", Path(""));
    EXPECT_NE(run.err.find(folder), std::string::npos) << run.err;
    EXPECT_FALSE(std::filesystem::exists(Path("no")));
}

TEST_F(EncoderFailure, OutputFolderIsAFile) {
    const std::string file = Path("plain");
    std::ofstream(file) << "x";
    const RunResult run = RunAndExpectFailure(GogoCommand(input_, file + "/out.mp3", kOptions),
                                              "Not a directory", Path(""));
    EXPECT_NE(run.err.find(file), std::string::npos) << run.err;
}

TEST_F(EncoderFailure, OutputIsAFolder) {
    std::filesystem::create_directory(Path("out.mp3"));
    RunAndExpectFailure(GogoCommand(input_, Path("out.mp3"), kOptions), "is a folder", Path(""));
}

// Root ignores permission bits, so as root the folder is a read-only mount.
TEST_F(EncoderFailure, OutputFolderReadOnly) {
    const std::string folder = Path("locked");
    std::optional<TmpfsMount> readOnly;
    std::string message = "Permission denied";
    if (geteuid() == 0) {
        readOnly.emplace(folder, MS_RDONLY, "size=64k");
        if (!readOnly->Mounted()) {
            GTEST_SKIP() << "running as root where no read-only file system can be mounted";
        }
        message = "Read-only file system";
    } else {
        std::filesystem::create_directory(folder);
        chmod(folder.c_str(), 0555);
    }
    RunAndExpectFailure(GogoCommand(input_, folder + "/out.mp3", kOptions), message, folder);
    EXPECT_TRUE(FolderContents(folder).empty());
    chmod(folder.c_str(), 0755);
}

// A small tmpfs fills up for real; where none can be mounted, a file-size limit on the encoder
// makes its writes fail the same way.
TEST_F(EncoderFailure, FullFileSystem) {
    const std::string folder = Path("small");
    WriteTestWav(input_, {SF_FORMAT_WAV | SF_FORMAT_PCM_16, 2, 44100, 6.0}); // 96 kB of MP3
    inputFrames_ = CountFrames(input_);
    const TmpfsMount small(folder, 0, "size=64k");
    ChildOptions options;
    std::string message = "No space left on device";
    if (!small.Mounted()) {
        options.fileSizeLimit = 32 * 1024;
        message = "File too large";
    }
    const RunResult run = RunAndExpectFailure(GogoCommand(input_, folder + "/out.mp3", kOptions),
                                              message, folder, options);
    EXPECT_TRUE(FolderContents(folder).empty());
    EXPECT_EQ(std::ranges::count(Percentages(run.out), 100.0f), 0);
}

// Starts the encoder on a long input and waits for its first progress line: it has created its
// output by then and is hours from finishing.
std::unique_ptr<Child> StartAndStall(const std::vector<std::string>& command,
                                     const ChildOptions& options = {}) {
    auto child = std::make_unique<Child>(command, options);
    const bool started =
        child->ReadOutputUntil([](const std::string& out) { return !Percentages(out).empty(); });
    EXPECT_TRUE(started) << child->Err();
    return child;
}

struct Stop {
    int signal;
    bool unnamedFiles; // false: as on vfat or exFAT, the output is written under a hidden name
};

class EncoderStop : public EncoderFailure, public ::testing::WithParamInterface<Stop> {};

// A caught signal removes the partial output before the encoder ends by it; SIGKILL cannot be
// caught, and what it leaves is removed by the next encoding into the folder.
TEST_P(EncoderStop, LeavesNoPartialOutput) {
    const Stop stop = GetParam();
    UseLongInput();
    const ChildOptions options = stop.unnamedFiles ? ChildOptions{} : WithoutUnnamedFiles();
    const std::unique_ptr<Child> child =
        StartAndStall(GogoCommand(input_, Path("out.mp3"), kOptions), options);
    const std::size_t whileWriting = FolderContents(Path("")).size();
    EXPECT_EQ(whileWriting, stop.unnamedFiles ? 1u : 2u);
    child->Signal(stop.signal);
    const int status = child->Finish();

    EXPECT_TRUE(WIFSIGNALED(status) && WTERMSIG(status) == stop.signal) << status;
    if (stop.signal != SIGKILL) {
        ExpectFailure({status, child->Out(), child->Err()},
                      std::string("stopped by SIG") + sigabbrev_np(stop.signal));
        EXPECT_EQ(FolderContents(Path("")), std::vector<std::string>{"in.wav"});
    }
    const std::string next = Path("next.wav");
    WriteTestWav(next, {SF_FORMAT_WAV | SF_FORMAT_PCM_16, 2, 44100, 0.2});
    const RunResult run = RunProgram(GogoCommand(next, Path("next.mp3"), kOptions), options);
    EXPECT_TRUE(run.Succeeded()) << run.err;
    EXPECT_EQ(FolderContents(Path("")), (std::vector<std::string>{"in.wav", "next.mp3"}));
}

INSTANTIATE_TEST_SUITE_P(Signals, EncoderStop,
                         ::testing::Values(Stop{SIGTERM, true}, Stop{SIGINT, true},
                                           Stop{SIGHUP, true}, Stop{SIGKILL, true},
                                           Stop{SIGTERM, false}, Stop{SIGINT, false},
                                           Stop{SIGHUP, false}, Stop{SIGKILL, false}),
                         [](const ::testing::TestParamInfo<Stop>& stop) {
                             return std::string(sigabbrev_np(stop.param.signal)) +
                                    (stop.param.unnamedFiles ? "" : "_HiddenName");
                         });

TEST_F(EncoderFailure, AStoppedEncodingLeavesAnExistingOutputAsItWas) {
    UseLongInput();
    const std::string output = Path("old.mp3");
    std::ofstream(output) << "the previous encoding";
    const std::unique_ptr<Child> child = StartAndStall(GogoCommand(input_, output, kOptions));
    child->Signal(SIGTERM);
    const int status = child->Finish();
    ExpectFailure({status, child->Out(), child->Err()}, "stopped by SIGTERM");
    EXPECT_EQ(ReadText(output), "the previous encoding");
    EXPECT_EQ(FolderContents(Path("")), (std::vector<std::string>{"in.wav", "old.mp3"}));
}

int NiceValueOf(pid_t pid) {
    std::ifstream stat("/proc/" + std::to_string(pid) + "/stat");
    std::string text((std::istreambuf_iterator<char>(stat)), std::istreambuf_iterator<char>());
    std::istringstream fields(text.substr(text.rfind(')') + 2));
    std::string field;
    for (int i = 3; i <= 19; ++i) { // field 19 is the nice value
        fields >> field;
    }
    return std::stoi(field);
}

TEST_F(EncoderFailure, PriorityOneRunsTheEncoderAtNiceEighteen) {
    UseLongInput();
    errno = 0;
    const int own = getpriority(PRIO_PROCESS, 0);
    std::vector<std::string> low{"-b", "128", "-cpu", "1", "-m", "j", "-priority", "1"};
    const std::unique_ptr<Child> lowChild =
        StartAndStall(GogoCommand(input_, Path("low.mp3"), low));
    EXPECT_EQ(NiceValueOf(lowChild->Pid()), std::max(own, 18));
    lowChild->Signal(SIGTERM);
    lowChild->Finish();

    const std::unique_ptr<Child> normal =
        StartAndStall(GogoCommand(input_, Path("normal.mp3"), kOptions));
    EXPECT_EQ(NiceValueOf(normal->Pid()), own);
    normal->Signal(SIGTERM);
    normal->Finish();
}

} // namespace
} // namespace gogotest
