// SPDX-License-Identifier: GPL-3.0-or-later
#include "encoding/EncodeRun.h"

#include "encoding/EncoderErrorText.h"
#include "encoding/ProgressStream.h"
#include "support/FakeGogoOnPath.h"

#include <QTemporaryDir>
#include <algorithm>
#include <cerrno>
#include <csignal>
#include <cstdarg>
#include <filesystem>
#include <fstream>
#include <future>
#include <gtest/gtest.h>
#include <sys/syscall.h>
#include <sys/wait.h>
#include <thread>

namespace {

// While set, the system gives no exit descriptor (pidfd_open fails), as older kernels and
// containers whose seccomp filter refuses the call do. The test is linked with --wrap=syscall.
bool noExitDescriptor = false;

} // namespace

// The linker's names for the wrapped function and the real one.
// NOLINTBEGIN(bugprone-reserved-identifier,readability-identifier-naming,clang-analyzer-valist.Uninitialized)
extern "C" long __real_syscall(long number, ...);
extern "C" long __wrap_syscall(long number, ...) {
    if (noExitDescriptor && number == SYS_pidfd_open) {
        errno = ENOSYS;
        return -1;
    }
    va_list arguments;
    va_start(arguments, number);
    long words[6];
    for (long& word : words) {
        word = va_arg(arguments, long);
    }
    va_end(arguments);
    return __real_syscall(number, words[0], words[1], words[2], words[3], words[4], words[5]);
}
// NOLINTEND(bugprone-reserved-identifier,readability-identifier-naming,clang-analyzer-valist.Uninitialized)

namespace {

TEST(ProgressStream, ReadsProgressLinesHoweverTheBlocksAreCut) {
    struct Case {
        std::vector<std::string> blocks;
        std::vector<float> percents;
    };
    const Case cases[] = {
        {{"{1/2}50.0%re:[00:00:01.00]to:[00:00:02.00]\r"}, {50.0f}},
        {{"{ 1/ 2}  5", "0.0% re:[00:", "00:01.00]\r"}, {50.0f}},
        {{"{1/3}10.0%\r{2/3}20.0%\r{3/3}75.0%\r"}, {10.0f, 20.0f, 75.0f}},
        {{"{1/2}25.0%\r{x}\r"}, {25.0f, 25.0f}}, // an unread percentage repeats the last
        {{"{x}\r"}, {0.0f}},
        {{"starting\r{1/2}5.0%\r"}, {5.0f}},
        {{"{1/2}50.0%", "re:"}, {}}, // no carriage return yet
        {{"{1/2}50%" + std::string(3 * ProgressStream::kMaxLineLength, 'x') + "\r"}, {50.0f}},
    };
    for (const Case& c : cases) {
        ProgressStream stream;
        std::vector<float> percents;
        for (const std::string& block : c.blocks) {
            const std::vector<float> got = stream.Feed(block);
            percents.insert(percents.end(), got.begin(), got.end());
        }
        EXPECT_EQ(percents, c.percents) << c.blocks.front();
    }
}

TEST(ProgressStream, NullCharsBecomeSpacesWithinTheLengthOnly) {
    char text[] = {'a', '\0', 'b', '\0', '\0'};
    RemoveNullChars(text, 4);
    EXPECT_EQ(std::string(text, 5), std::string("a b \0", 5));
}

TEST(EncoderErrorText, FindsTheMarkerAnywhereAndKeepsTheLastMessage) {
    struct Case {
        std::vector<std::string> blocks;
        bool marker;
        std::string lastMessage;
    };
    const std::string noise(EncoderErrorText::kTailLength, 'x');
    const Case cases[] = {
        {{"start\nEnd of", " enc", "oding\n"}, true, ""},
        {{"start\nEnd of encoding"}, false, ""},
        {{"start\n", "gogo: cannot read in.wav\n"}, false, "gogo: cannot read in.wav"},
        {{"End of encoding\n", "a late word \r\n\n \n"}, true, "a late word"},
        {{noise, "End of encoding\n", noise, noise}, true, noise},
        {{}, false, ""},
    };
    for (const Case& c : cases) {
        EncoderErrorText text;
        for (const std::string& block : c.blocks) {
            text.Feed(block);
        }
        EXPECT_EQ(text.SawCompletionMarker(), c.marker);
        EXPECT_EQ(text.LastMessage(), c.lastMessage);
        EXPECT_LE(text.Tail().size(), EncoderErrorText::kTailLength);
    }
}

class EncodeRunTest : public ::testing::Test {
protected:
    std::string Command() const {
        return "gogo \"" + folder.filePath(QStringLiteral("in put.wav")).toStdString() + "\" \"" +
               Output() + "\" -b 128 -cpu 1 -m s -priority 10";
    }
    std::string Output() const { return folder.filePath(QStringLiteral("out.mp3")).toStdString(); }

    EncodeOutcome Run(const std::string& command, const EncodeStop& stop = EncodeStop()) {
        fractions.clear();
        return RunEncoder(command, stop, [this](float fraction) { fractions.push_back(fraction); });
    }

    // However its runs ended, a test leaves no child process and no descriptor behind.
    void SetUp() override { descriptors = OpenDescriptors(); }
    void TearDown() override {
        EXPECT_EQ(OpenDescriptors(), descriptors);
        EXPECT_EQ(waitpid(-1, nullptr, WNOHANG), -1);
        EXPECT_EQ(errno, ECHILD);
    }

    static size_t OpenDescriptors() {
        const auto fds = std::filesystem::directory_iterator("/proc/self/fd");
        return static_cast<size_t>(std::distance(begin(fds), end(fds)));
    }

    QTemporaryDir folder;
    FakeGogoOnPath fake;
    std::vector<float> fractions;
    size_t descriptors = 0;
};

TEST_F(EncodeRunTest, JudgesEachWayAnEncoderCanEnd) {
    struct Case {
        const char* mode;
        bool encoded;
        int status;
        // The lines the encoder writes; lines read together count as their last, so what is
        // reported is the last of them and, before it, some of the others in order.
        std::vector<float> fractions;
        std::string reason; // "*": any text
    };
    const Case cases[] = {
        {"encode", true, 0, {0.0f, 0.25f, 0.5f, 0.75f, 1.0f}, ""},
        {"split", true, 0, {0.5f}, ""},
        {"block", true, 0, {0.1f, 0.2f, 0.75f}, ""},
        {"nul", true, 0, {0.5f}, ""},
        {"split-marker", true, 0, {}, ""},
        {"noisy", true, 0, {0.5f}, ""},
        {"no-newline", false, 0, {}, "*"},
        {"crash", false, -1, {}, "*"},
        {"fail",
         false,
         1,
         {},
         "gogo: cannot read " + folder.filePath(QStringLiteral("in put.wav")).toStdString() +
             ": No such file or directory"},
        {"marker-fail", false, 3, {}, "*"},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.mode);
        FakeGogoOnPath::SetMode(c.mode);
        const EncodeOutcome outcome = Run(Command());
        EXPECT_EQ(outcome.encoded, c.encoded);
        EXPECT_FALSE(outcome.stopped);
        EXPECT_EQ(outcome.status, c.status);
        EXPECT_EQ(outcome.output, Output());
        if (c.fractions.empty()) {
            EXPECT_TRUE(fractions.empty());
        } else {
            ASSERT_FALSE(fractions.empty());
            EXPECT_EQ(fractions.back(), c.fractions.back());
            EXPECT_TRUE(std::includes(c.fractions.begin(), c.fractions.end(), fractions.begin(),
                                      fractions.end()));
        }
        if (c.reason == "*") {
            EXPECT_FALSE(outcome.reason.empty());
            EXPECT_NE(outcome.reason, "End of encoding");
        } else {
            EXPECT_EQ(outcome.reason, c.reason);
        }
    }
}

TEST_F(EncodeRunTest, AMissingEncoderFailsWithTheReasonItCouldNotStart) {
    const EncodeOutcome outcome = Run("vamble-no-such-encoder in.wav out.mp3");
    EXPECT_FALSE(outcome.encoded);
    EXPECT_EQ(outcome.status, 255);
    EXPECT_EQ(outcome.reason.rfind("execvp failed for command: vamble-no-such-encoder: ", 0), 0u)
        << outcome.reason;
}

TEST_F(EncodeRunTest, ACommandThatCannotRunFailsWithoutStartingAnything) {
    for (const char* command : {"", "  \t", "gogo \"in.wav out.mp3"}) {
        const EncodeOutcome outcome = Run(command);
        EXPECT_FALSE(outcome.encoded || outcome.stopped) << command;
        EXPECT_FALSE(outcome.reason.empty()) << command;
    }
    EXPECT_TRUE(fake.Invocations().empty());
}

// Whether the process has exited: gone, or a zombie that its parent has not reaped yet.
bool HasExited(long pid) {
    std::string stat;
    std::getline(std::ifstream("/proc/" + std::to_string(pid) + "/stat"), stat);
    const size_t name = stat.rfind(')');
    return name == std::string::npos || stat.compare(name + 2, 1, "Z") == 0;
}

// Each case runs with and without an exit descriptor from the system.
class EncodeStopTest : public EncodeRunTest, public ::testing::WithParamInterface<bool> {
protected:
    void SetUp() override {
        EncodeRunTest::SetUp();
        noExitDescriptor = !GetParam();
    }
    void TearDown() override {
        noExitDescriptor = false;
        EncodeRunTest::TearDown();
    }

    // Runs the encoder in `mode` and requests a stop once `due` says so of its process. A run
    // that has not ended long after the stop would hang the test: its encoder is killed instead,
    // so that the test fails.
    EncodeOutcome RunAndStop(const char* mode, const std::function<bool(long pid)>& due) {
        FakeGogoOnPath::SetMode(mode);
        const size_t before = fake.Invocations().size();
        EncodeStop stop;
        auto run = std::async(std::launch::async, [&] { return Run(Command(), stop); });
        long pid = 0;
        while (pid == 0 || !due(pid)) {
            const auto runs = fake.Invocations();
            pid = runs.size() > before ? runs.back().pid : 0;
            std::this_thread::yield();
        }
        stop.Request();
        if (run.wait_for(std::chrono::seconds(10)) != std::future_status::ready) {
            ADD_FAILURE() << mode << ": the stop did not end the run";
            ::kill(static_cast<pid_t>(pid), SIGKILL);
        }
        return run.get();
    }
};

// A stop must end an encoder that writes nothing, also one that has closed its pipes but not
// exited.
TEST_P(EncodeStopTest, AStopKillsAnEncoderThatWritesNothing) {
    for (const char* mode : {"hang", "detach"}) {
        SCOPED_TRACE(mode);
        const EncodeOutcome outcome =
            RunAndStop(mode, [this](long) { return fake.Invocations().back().running; });
        EXPECT_TRUE(outcome.stopped);
        EXPECT_FALSE(outcome.encoded);
        EXPECT_EQ(outcome.status, -1);
        EXPECT_TRUE(outcome.reason.empty());
        EXPECT_FALSE(fake.Invocations().back().running);
    }
}

// An encoder that exits having written its file, but leaves a child holding its pipes, has
// encoded it: the row ends with the encoder, and a stop that comes after is no stop.
TEST_P(EncodeStopTest, AnEncoderThatFinishedIsNeverReportedStopped) {
    const EncodeOutcome outcome = RunAndStop("leave-child", HasExited);
    EXPECT_TRUE(outcome.encoded) << outcome.reason;
    EXPECT_FALSE(outcome.stopped);
    EXPECT_EQ(outcome.status, 0);
}

INSTANTIATE_TEST_SUITE_P(ExitDescriptor, EncodeStopTest, ::testing::Bool(),
                         [](const ::testing::TestParamInfo<bool>& param) {
                             return std::string(param.param ? "Given" : "Refused");
                         });

} // namespace
