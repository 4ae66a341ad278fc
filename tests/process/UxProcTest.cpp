// SPDX-License-Identifier: GPL-3.0-or-later
#include "process/ux_proc.h"

#include <csignal>
#include <fcntl.h>
#include <gtest/gtest.h>
#include <sstream>
#include <string>
#include <sys/wait.h>
#include <unistd.h>
#include <vector>

namespace {

std::string ReadAll(int fd) {
    std::string text;
    char buffer[512];
    for (ssize_t got = 0; (got = read(fd, buffer, sizeof buffer)) > 0;) {
        text.append(buffer, static_cast<size_t>(got));
    }
    return text;
}

// Runs a command in mode "r" and returns its standard output; its exit status must be 0.
std::string OutputOf(const char* command) {
    ux_proc proc;
    EXPECT_EQ(ux_popen_lp(&proc, "r", nullptr, command), UX_OK);
    const std::string output = ReadAll(proc.out_fd);
    int status = -1;
    EXPECT_EQ(ux_pclose(&proc, &status), UX_OK);
    EXPECT_TRUE(WIFEXITED(status) && WEXITSTATUS(status) == 0) << command;
    return output;
}

struct SplitCase {
    const char* command;
    int result;
    std::vector<std::string> words;
};

TEST(UxProc, SplitsCommandsIntoWords) {
    const SplitCase cases[] = {
        {"gogo in.wav out.mp3 -b 128", UX_OK, {"gogo", "in.wav", "out.mp3", "-b", "128"}},
        {"a \"b c\" d", UX_OK, {"a", "b c", "d"}},
        {"x\"b c\"y z", UX_OK, {"xb cy", "z"}},
        {R"("a b""c d")", UX_OK, {"a bc d"}},
        {"a\tb \t c", UX_OK, {"a", "b", "c"}},
        {"  a  b \t ", UX_OK, {"a", "b"}},
        {"a \"\" b", UX_OK, {"a", "", "b"}},
        {R"(a\ b\"c d")", UX_OK, {R"(a\)", R"(b\c d)"}},
        {"", UX_OK, {""}},
        {" \t  ", UX_OK, {""}},
        {"\"", UX_UNCLOSED_QUOTE, {}},
        {"a \"b c", UX_UNCLOSED_QUOTE, {}},
        {"a b\"", UX_UNCLOSED_QUOTE, {}},
    };
    for (const SplitCase& c : cases) {
        int argc = -1;
        char* untouched[] = {nullptr};
        char** argv = untouched;
        ASSERT_EQ(ux_malloc_argv_from_command(c.command, &argc, &argv), c.result) << c.command;
        EXPECT_EQ(argc, static_cast<int>(c.words.size())) << c.command;
        if (c.result != UX_OK) {
            EXPECT_EQ(argv, untouched);
            continue;
        }
        EXPECT_EQ(std::vector<std::string>(argv, argv + argc), c.words) << c.command;
        EXPECT_EQ(argv[argc], nullptr);
        EXPECT_EQ(ux_free_argv(argv), UX_OK);
    }
}

TEST(UxProc, RefusesMissingArguments) {
    int argc = 0;
    char** argv = nullptr;
    char* const args[] = {nullptr};
    ux_proc proc;
    int status = -1;
    EXPECT_EQ(ux_malloc_argv_from_command(nullptr, &argc, &argv), UX_BAD_ARGUMENT);
    EXPECT_EQ(ux_malloc_argv_from_command("a", nullptr, &argv), UX_BAD_ARGUMENT);
    EXPECT_EQ(ux_free_argv(nullptr), UX_BAD_ARGUMENT);
    EXPECT_EQ(ux_popen_vp(&proc, "r", nullptr, nullptr, args), UX_BAD_ARGUMENT);
    EXPECT_EQ(ux_popen_lp(&proc, "r", nullptr, "a \"b"), UX_UNCLOSED_QUOTE);
    EXPECT_EQ(ux_pclose(&proc, &status), UX_BAD_ARGUMENT); // never started
    EXPECT_EQ(status, 0);
    EXPECT_EQ(ux_force_pclose(&proc, &status), UX_BAD_ARGUMENT);
}

TEST(UxProc, AMissingProgramSaysSoOnStandardErrorAndExitsWith255) {
    ux_proc proc;
    ASSERT_EQ(ux_popen_lp(&proc, "r", nullptr, "vamble-no-such-program in out"), UX_OK);
    EXPECT_GT(proc.pid, 0);
    EXPECT_EQ(proc.in_fd, -1);
    EXPECT_EQ(ReadAll(proc.err_fd),
              "execvp failed for command: vamble-no-such-program: No such file or directory\n");
    EXPECT_EQ(ReadAll(proc.out_fd), "");
    int status = 0;
    ASSERT_EQ(ux_pclose(&proc, &status), UX_OK);
    EXPECT_TRUE(WIFEXITED(status));
    EXPECT_EQ(WEXITSTATUS(status), 255);
    EXPECT_EQ(proc.pid, -1);
}

TEST(UxProc, ModeWPipesStandardInputToAGroupLeaderWithCloseOnExecEnds) {
    ux_proc proc;
    ASSERT_EQ(ux_popen_lp(&proc, "w", nullptr, "cat"), UX_OK);
    EXPECT_EQ(getpgid(proc.pid), proc.pid);
    for (const int fd : {proc.in_fd, proc.out_fd, proc.err_fd}) {
        EXPECT_NE(fcntl(fd, F_GETFD) & FD_CLOEXEC, 0);
    }
    ASSERT_EQ(write(proc.in_fd, "ping\n", 5), 5);
    close(proc.in_fd);
    proc.in_fd = -1;
    EXPECT_EQ(ReadAll(proc.out_fd), "ping\n");
    int status = -1;
    EXPECT_EQ(ux_pclose(&proc, &status), UX_OK);
    EXPECT_EQ(status, 0);
}

TEST(UxProc, ForcedCloseInterruptsTheChild) {
    ux_proc proc;
    ASSERT_EQ(ux_popen_lp(&proc, "r", nullptr, "sleep 60"), UX_OK);
    int status = 0;
    EXPECT_EQ(ux_force_pclose(&proc, &status), UX_OK);
    EXPECT_TRUE(WIFSIGNALED(status) && WTERMSIG(status) == SIGINT);
}

TEST(UxProc, TheChildInheritsNoDescriptorAboveTwo) {
    const int inheritable = dup2(open("/dev/null", O_RDONLY), 57); // no close-on-exec
    ASSERT_EQ(inheritable, 57);
    std::istringstream open(OutputOf("ls /proc/self/fd"));
    close(inheritable);
    std::vector<std::string> fds;
    for (std::string fd; open >> fd;) {
        fds.push_back(fd);
    }
    EXPECT_EQ(std::count(fds.begin(), fds.end(), "57"), 0);
    EXPECT_EQ(std::count(fds.begin(), fds.end(), "1"), 1);
}

// The program catches termination signals; an encoder must start without its handlers, blocked
// signals or ignored signals, or it could not be stopped.
TEST(UxProc, TheChildStartsWithDefaultSignals) {
    sigset_t blocked;
    sigset_t saved;
    sigemptyset(&blocked);
    sigaddset(&blocked, SIGUSR1);
    pthread_sigmask(SIG_BLOCK, &blocked, &saved);
    const auto oldHandler = signal(SIGUSR2, SIG_IGN);
    const std::string status = OutputOf("grep -E ^Sig(Blk|Ign) /proc/self/status");
    signal(SIGUSR2, oldHandler);
    pthread_sigmask(SIG_SETMASK, &saved, nullptr);
    EXPECT_EQ(status, "SigBlk:\t0000000000000000\nSigIgn:\t0000000000000000\n");
}

} // namespace
