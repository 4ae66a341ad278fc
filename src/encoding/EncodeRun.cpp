// SPDX-License-Identifier: GPL-3.0-or-later
#include "encoding/EncodeRun.h"

#include "encoding/EncoderErrorText.h"
#include "encoding/ProgressStream.h"
#include "process/ux_proc.h"

#include <QCoreApplication>
#include <algorithm>
#include <cerrno>
#include <chrono>
#include <csignal>
#include <cstring>
#include <optional>
#include <poll.h>
#include <sys/syscall.h>
#include <sys/wait.h>
#include <unistd.h>

namespace {

constexpr size_t kReadSize = 4096;
// How often a wait looks at the stop flag when the request has no descriptor, and at the
// encoder's exit when the system gives no exit descriptor.
constexpr int kCheckMs = 100;
// How long progress lines wait in the pipe before they are read together.
constexpr std::chrono::milliseconds kOutputPause{40};
// How long the pipes are read once the encoder has exited: what it wrote is in them already, so
// this is only for a child it left behind that still holds them.
constexpr std::chrono::milliseconds kPipeGrace{50};

// A descriptor that becomes readable when the process exits; -1 where the system has none (older
// kernels, containers whose seccomp filter refuses the call). Called through syscall: glibc
// 2.36's <sys/pidfd.h> declares pidfd_open without C linkage.
int OpenExitDescriptor(pid_t pid) {
    return static_cast<int>(syscall(SYS_pidfd_open, pid, 0));
}

// Prints one diagnostic line and flushes it at once, so lines from the window's thread and from
// the worker appear in the order they happened.
void Say(std::FILE* out, const std::string& line) {
    std::fputs(line.c_str(), out);
    std::fflush(out);
}

std::string SystemError(const QString& what, int error) {
    return what.toStdString() + ": " + std::strerror(error);
}

// The words of a command, released with the object.
class ArgumentVector {
public:
    ArgumentVector() = default;
    ~ArgumentVector() {
        if (argv != nullptr) {
            ux_free_argv(argv);
        }
    }
    ArgumentVector(const ArgumentVector&) = delete;
    ArgumentVector& operator=(const ArgumentVector&) = delete;

    int Split(const std::string& command) {
        return ux_malloc_argv_from_command(command.c_str(), &argc, &argv);
    }
    int Count() const { return argc; }
    char* const* Words() const { return argv; }

private:
    int argc = 0;
    char** argv = nullptr;
};

enum class Ending { Ended, Stopped, Broken };

// A started encoder. The process is always killed if need be and reaped, and its descriptors
// closed, however the run ends.
class EncoderProcess {
public:
    explicit EncoderProcess(const ux_proc& started)
        : proc(started), exitFd(OpenExitDescriptor(started.pid)) {}
    ~EncoderProcess() {
        if (proc.pid > 0) {
            Kill();
            int status = 0;
            ux_pclose(&proc, &status);
        }
        if (exitFd >= 0) {
            close(exitFd);
        }
    }
    EncoderProcess(const EncoderProcess&) = delete;
    EncoderProcess& operator=(const EncoderProcess&) = delete;

    // Reads standard output and standard error until both have ended, or until the encoder has
    // exited and its pipes have had their grace, handing the blocks to `onOutput` and
    // `onError`. Encoders write a progress line every tenth of a percent; taking each as it
    // comes would wake this thread a thousand times a file, so standard output is read at most
    // every kOutputPause while its lines wait in the pipe. Standard error, a stop and the
    // encoder's exit are seen at once, and once the encoder has exited what is left is read
    // without pause. A stop counts only while the encoder runs: one that exited is judged by
    // what it wrote.
    template <class Output, class Error>
    Ending ReadToEnd(const EncodeStop& stop, Output&& onOutput, Error&& onError, int* error) {
        using Clock = std::chrono::steady_clock;
        pollfd watched[4] = {{proc.out_fd, POLLIN, 0},
                             {proc.err_fd, POLLIN, 0},
                             {stop.Fd(), POLLIN, 0},
                             {exitFd, POLLIN, 0}};
        char buffer[kReadSize];
        Clock::time_point nextOutputRead = Clock::now();
        std::optional<Clock::time_point> pipesEnd;
        while (proc.out_fd >= 0 || proc.err_fd >= 0) {
            if (!pipesEnd && exitFd < 0 && Exited()) {
                pipesEnd = Clock::now() + kPipeGrace;
            }
            if (pipesEnd) {
                watched[2].fd = -1; // a stop now changes nothing
                watched[3].fd = -1;
            } else if (stop.Requested()) {
                if (!Exited()) {
                    return Ending::Stopped;
                }
                pipesEnd = Clock::now() + kPipeGrace;
                continue;
            }
            const Clock::time_point now = Clock::now();
            if (pipesEnd && now >= *pipesEnd) {
                break;
            }
            const bool outputDue = pipesEnd || now >= nextOutputRead;
            watched[0].fd = outputDue ? proc.out_fd : -1;
            std::optional<Clock::time_point> wake = pipesEnd;
            if (!outputDue && proc.out_fd >= 0) {
                wake = nextOutputRead;
            }
            int timeout = -1;
            if (wake) {
                timeout = static_cast<int>(
                    std::chrono::ceil<std::chrono::milliseconds>(*wake - now).count());
            }
            if (!pipesEnd && (stop.Fd() < 0 || exitFd < 0)) {
                timeout = timeout < 0 ? kCheckMs : std::min(timeout, kCheckMs);
            }
            if (poll(watched, 4, timeout) < 0) {
                if (errno == EINTR) {
                    continue;
                }
                *error = errno;
                return Ending::Broken;
            }
            if (watched[3].fd >= 0 && watched[3].revents != 0) {
                pipesEnd = Clock::now() + kPipeGrace;
            }
            for (int i = 0; i < 2; ++i) {
                int& fd = i == 0 ? proc.out_fd : proc.err_fd;
                if (fd < 0 || watched[i].fd < 0 || watched[i].revents == 0) {
                    continue;
                }
                const ssize_t got = read(fd, buffer, sizeof buffer);
                if (got > 0) {
                    if (i == 0) {
                        onOutput(buffer, static_cast<int32_t>(got));
                        nextOutputRead = Clock::now() + kOutputPause;
                    } else {
                        onError(std::string_view(buffer, static_cast<size_t>(got)));
                    }
                } else if (got == 0 || (errno != EINTR && errno != EAGAIN)) {
                    close(fd); // end of the stream, or a read that can never succeed
                    fd = -1;
                    watched[i].fd = -1;
                }
            }
        }
        return Ending::Ended;
    }

    // Waits until the encoder has exited; its pipes may end before it does.
    Ending WaitForExit(const EncodeStop& stop) const {
        pollfd watched[2] = {{exitFd, POLLIN, 0}, {stop.Fd(), POLLIN, 0}};
        while (!Exited()) {
            if (stop.Requested()) {
                return Ending::Stopped;
            }
            const bool blocking = exitFd >= 0 && stop.Fd() >= 0;
            if (poll(watched, 2, blocking ? -1 : kCheckMs) < 0 && errno != EINTR) {
                return Ending::Ended; // the reap waits instead
            }
        }
        return Ending::Ended;
    }

    // Whether the encoder has exited; it is not reaped, so its id still names it.
    bool Exited() const {
        if (exitFd >= 0) {
            pollfd exit{exitFd, POLLIN, 0};
            return poll(&exit, 1, 0) > 0;
        }
        siginfo_t info{};
        return waitid(P_PID, static_cast<id_t>(proc.pid), &info, WEXITED | WNOHANG | WNOWAIT) !=
                   0 ||
               info.si_pid != 0;
    }

    // Kills the encoder's process group (and so whatever it started and left behind), or the
    // encoder alone if it has left its group. The process is not reaped yet, so its id still
    // names it, exited or not.
    void Kill() const {
        if (kill(-proc.pid, SIGKILL) != 0) {
            kill(proc.pid, SIGKILL);
        }
    }

    // Closes the pipes and waits for the encoder. Returns its wait status, or nothing when
    // waiting failed (`error` then says why).
    std::optional<int> Reap(int* error) {
        int status = 0;
        if (ux_pclose(&proc, &status) != UX_OK) {
            *error = errno;
            return std::nullopt;
        }
        return status;
    }

private:
    ux_proc proc;
    int exitFd;
};

std::string DescribeExit(int waitStatus, const EncoderErrorText& errorText) {
    if (WIFSIGNALED(waitStatus)) {
        const int signal = WTERMSIG(waitStatus);
        const char* name = sigdescr_np(signal);
        return (name != nullptr ? QCoreApplication::translate(
                                      "EncodeRun", "the encoder was killed by signal %1 (%2)")
                                      .arg(signal)
                                      .arg(QString::fromUtf8(name))
                                : QCoreApplication::translate("EncodeRun",
                                                              "the encoder was killed by signal %1")
                                      .arg(signal))
            .toStdString();
    }
    const int status = WEXITSTATUS(waitStatus);
    if (status != 0) {
        const std::string message = errorText.LastMessage();
        return message.empty()
                   ? QCoreApplication::translate("EncodeRun", "the encoder ended with status %1")
                         .arg(status)
                         .toStdString()
                   : message;
    }
    if (!errorText.SawCompletionMarker()) {
        return QCoreApplication::translate("EncodeRun",
                                           "the encoder ended without saying it had finished")
            .toStdString();
    }
    return {};
}

} // namespace

EncodeOutcome RunEncoder(const std::string& command, const EncodeStop& stop,
                         const ProgressFunction& onProgress, std::FILE* diagnostics) {
    Say(diagnostics, "Switches: " + command + "\n");
    EncodeOutcome outcome;
    ArgumentVector args;
    switch (args.Split(command)) {
    case UX_OK:
        break;
    case UX_UNCLOSED_QUOTE:
        outcome.reason =
            QCoreApplication::translate("EncodeRun",
                                        "the encoder command has a double quote that is not closed")
                .toStdString();
        return outcome;
    default:
        outcome.reason = QCoreApplication::translate(
                             "EncodeRun", "the encoder command could not be split: out of memory")
                             .toStdString();
        return outcome;
    }
    if (args.Count() > 2) {
        outcome.output = args.Words()[2];
    }
    if (args.Words()[0][0] == '\0') {
        outcome.reason =
            QCoreApplication::translate("EncodeRun", "the encoder command is empty").toStdString();
        return outcome;
    }
    if (stop.Requested()) {
        outcome.stopped = true;
        return outcome;
    }

    ux_proc started;
    if (ux_popen_vp(&started, "r", nullptr, args.Words()[0], args.Words()) != UX_OK) {
        outcome.reason = SystemError(
            QCoreApplication::translate("EncodeRun", "the encoder could not be started"), errno);
        Say(diagnostics, "execvp failed.\n");
        return outcome;
    }
    Say(diagnostics, "Gogo Thread ID: " + std::to_string(started.pid) + "\n");
    EncoderProcess encoder(started);

    ProgressStream progress;
    EncoderErrorText errorText;
    std::optional<float> lastPercent;
    int error = 0;
    const auto onOutput = [&](char* block, int32_t length) {
        RemoveNullChars(block, length);
        // Of the lines read together only the last counts: the bar would show the others for no
        // time at all.
        const std::vector<float> percents = progress.Feed(std::string_view(block, length));
        if (!percents.empty() && percents.back() != lastPercent) {
            lastPercent = percents.back();
            onProgress(percents.back() / 100.0f);
        }
    };
    const auto onError = [&](std::string_view block) { errorText.Feed(block); };
    Ending ending = encoder.ReadToEnd(stop, onOutput, onError, &error);
    if (ending == Ending::Ended) {
        ending = encoder.WaitForExit(stop);
    }
    encoder.Kill();
    if (ending == Ending::Stopped) {
        // The encoder may have finished its file just as the stop came: what it wrote is read.
        const EncodeStop none;
        int ignored = 0;
        encoder.ReadToEnd(none, onOutput, onError, &ignored);
    }
    const std::optional<int> waitStatus = encoder.Reap(&error);
    // An encoder that had finished its file by itself before the stop reached it has encoded
    // it: the stop throws no finished file away.
    if (ending == Ending::Stopped && waitStatus && WIFEXITED(*waitStatus) &&
        errorText.SawCompletionMarker() && DescribeExit(*waitStatus, errorText).empty()) {
        ending = Ending::Ended;
    }
    Say(diagnostics, "STDERR: " + errorText.Tail() + "\n");

    if (waitStatus && WIFEXITED(*waitStatus)) {
        outcome.status = WEXITSTATUS(*waitStatus);
    }
    if (ending == Ending::Stopped) {
        outcome.stopped = true;
    } else if (ending == Ending::Broken) {
        outcome.reason = SystemError(
            QCoreApplication::translate("EncodeRun", "reading the encoder's output failed"), error);
    } else if (!waitStatus) {
        outcome.reason = SystemError(
            QCoreApplication::translate("EncodeRun", "waiting for the encoder failed"), error);
    } else {
        outcome.reason = DescribeExit(*waitStatus, errorText);
        outcome.encoded = outcome.reason.empty();
    }
    if (outcome.encoded) {
        Say(diagnostics, errorText.Tail() + "\n");
        Say(diagnostics, "We are done!\n");
    }
    return outcome;
}
