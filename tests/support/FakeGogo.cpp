// SPDX-License-Identifier: GPL-3.0-or-later
// A stand-in for the gogo encoder in tests. It takes gogo's command line (gogo IN OUT options...)
// and behaves as FAKE_GOGO_MODE says:
//   encode (or unset)  start-up line on stderr, progress lines, a 4 KiB file at OUT, the marker
//   split              a progress line cut into pieces written apart
//   block              three progress lines (10, 20, 75 %) in one write
//   nul                a progress line with NUL bytes inside
//   split-marker       the closing text written in pieces
//   no-newline         "End of encoding" without its newline, status 0
//   noisy              1 MiB on stderr before the marker
//   hang               start-up line, then waits for ever writing nothing
//   detach             closes stdout and stderr, then waits for ever
//   leave-child        starts a child that keeps stdout and stderr open for a minute, then
//                      encodes and exits
//   crash              start-up line, then abort()
//   fail               "gogo: cannot read IN: No such file or directory", status 1
//   marker-fail        the marker, then status 3
//   quick              the marker and status 0 at once, nothing else (for benchmarks)
// FAKE_GOGO_FAIL_ON makes an encoding whose input path contains that text behave as "fail",
// FAKE_GOGO_HANG_ON one as "hang".
// FAKE_GOGO_STEP_MS pauses between progress lines. When FAKE_GOGO_LOG names a folder, the fake
// writes PID.running there (its start time in monotonic nanoseconds, then one argument a line)
// and renames it PID.done when it ends by itself.
#include <cerrno>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <ctime>
#include <fcntl.h>
#include <string>
#include <string_view>
#include <unistd.h>

namespace {

std::string logFile;

void Write(int fd, std::string_view text) {
    while (!text.empty()) {
        const ssize_t written = write(fd, text.data(), text.size());
        if (written < 0 && errno == EINTR) {
            continue;
        }
        if (written <= 0) {
            return;
        }
        text.remove_prefix(static_cast<size_t>(written));
    }
}

void Pause(int milliseconds) {
    if (milliseconds > 0) {
        usleep(static_cast<useconds_t>(milliseconds) * 1000);
    }
}

[[noreturn]] void Exit(int status) {
    if (!logFile.empty()) {
        const std::string done = logFile.substr(0, logFile.size() - 8) + ".done"; // ".running"
        rename(logFile.c_str(), done.c_str());
    }
    std::exit(status);
}

void LogInvocation(const char* folder, int argc, char** argv) {
    timespec now{};
    clock_gettime(CLOCK_MONOTONIC, &now);
    std::string text = std::to_string(now.tv_sec * 1000000000LL + now.tv_nsec) + "\n";
    for (int i = 0; i < argc; ++i) {
        text += std::string(argv[i]) + "\n";
    }
    logFile = std::string(folder) + "/" + std::to_string(getpid()) + ".running";
    const int fd = open(logFile.c_str(), O_WRONLY | O_CREAT | O_TRUNC | O_CLOEXEC, 0644);
    if (fd >= 0) {
        Write(fd, text);
        close(fd);
    }
}

std::string ProgressLine(int done, int total) {
    char line[96];
    std::snprintf(line, sizeof line, "{%4d/%4d}  %5.1f%% re:[00:00:01.00]to:[00:00:02.00]\r", done,
                  total, 100.0 * done / total);
    return line;
}

// The end of a normal encoding: the output file and the completion marker.
[[noreturn]] void Finish(const char* output) {
    const int fd = open(output, O_WRONLY | O_CREAT | O_TRUNC | O_CLOEXEC, 0644);
    if (fd < 0) {
        Write(2, std::string("gogo: cannot write ") + output + ": " + std::strerror(errno) + "\n");
        Exit(1);
    }
    Write(fd, std::string(4096, '\0'));
    close(fd);
    Write(2, "End of encoding\n");
    Exit(0);
}

} // namespace

int main(int argc, char** argv) {
    const char* folder = std::getenv("FAKE_GOGO_LOG");
    if (folder != nullptr && *folder != '\0') {
        LogInvocation(folder, argc, argv);
    }
    if (argc < 3) {
        Write(2, "usage: gogo IN OUT [options]\n");
        Exit(2);
    }
    const char* modeVariable = std::getenv("FAKE_GOGO_MODE");
    const auto inputHas = [argv](const char* variable) {
        const char* text = std::getenv(variable);
        return text != nullptr && *text != '\0' && std::strstr(argv[1], text) != nullptr;
    };
    const std::string_view mode = inputHas("FAKE_GOGO_FAIL_ON")   ? "fail"
                                  : inputHas("FAKE_GOGO_HANG_ON") ? "hang"
                                  : modeVariable != nullptr       ? modeVariable
                                                                  : "";
    const char* step = std::getenv("FAKE_GOGO_STEP_MS");
    const int stepMs = step != nullptr ? std::atoi(step) : 0;

    if (mode == "quick") {
        Write(2, "End of encoding\n");
        Exit(0);
    }
    if (mode == "detach") {
        close(1);
        close(2);
        for (;;) {
            pause();
        }
    }
    Write(2, std::string("fake gogo: encoding ") + argv[1] + "\n");
    if (mode == "hang") {
        for (;;) {
            pause();
        }
    }
    if (mode == "leave-child" && fork() == 0) {
        sleep(60);
        _exit(0);
    }
    if (mode == "crash") {
        std::abort();
    }
    if (mode == "fail") {
        Write(2, std::string("gogo: cannot read ") + argv[1] + ": No such file or directory\n");
        Exit(1);
    }
    if (mode == "marker-fail") {
        Write(2, "End of encoding\n");
        Exit(3);
    }
    if (mode == "split") {
        const std::string line = ProgressLine(173, 346);
        for (size_t at = 0; at < line.size(); at += 7) {
            Write(1, std::string_view(line).substr(at, 7));
            Pause(5);
        }
        Finish(argv[2]);
    }
    if (mode == "block") {
        Write(1, ProgressLine(1, 10) + ProgressLine(2, 10) + ProgressLine(75, 100));
        Finish(argv[2]);
    }
    if (mode == "nul") {
        constexpr char kLine[] = "{ 1/ 2}\0 5\0"
                                 "0.0% re:[00:00:01.00]to:[00:00:02.00]\r";
        Write(1, std::string_view(kLine, sizeof kLine - 1));
        Finish(argv[2]);
    }
    if (mode == "split-marker") {
        for (const std::string_view piece : {"End of", " encod", "ing\n"}) {
            Write(2, piece);
            Pause(5);
        }
        Exit(0);
    }
    if (mode == "no-newline") {
        Write(2, "End of encoding");
        Exit(0);
    }
    if (mode == "noisy") {
        const std::string noise = std::string(1023, 'x') + "\n";
        for (int i = 0; i < 1024; ++i) {
            Write(2, noise);
        }
        Write(1, ProgressLine(1, 2));
        Finish(argv[2]);
    }
    for (int done = 0; done <= 4; ++done) {
        Write(1, ProgressLine(done, 4));
        Pause(stepMs);
    }
    Finish(argv[2]);
}
