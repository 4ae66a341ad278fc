// SPDX-License-Identifier: GPL-3.0-or-later
// gogo: a command-line MP3 encoder on libmp3lame and libsndfile that speaks the command line,
// progress lines and closing text of the gogo encoder, so the program can run it in gogo's place.
//
// Standard error carries one start-up line, then either "End of encoding" (success: the output
// is complete and on disk) or one message saying what failed; standard output carries the
// progress lines, as far as it takes them.
#include "CommandLine.h"
#include "Encoder.h"
#include "OutputFile.h"
#include "Progress.h"
#include "Signals.h"
#include "WavFile.h"

#include <cerrno>
#include <chrono>
#include <cstring>
#include <fcntl.h>
#include <filesystem>
#include <lame/lame.h>
#include <string>
#include <sys/resource.h>
#include <sys/stat.h>
#include <unistd.h>
#include <vector>

using namespace gogo;

namespace {

enum ExitStatus { kEncoded = 0, kFailed = 1, kUsage = 2 };

// Writes all of the text to standard error, in one call where the pipe takes it, so that a reader
// gets it in one piece.
void Say(std::string_view text) {
    while (!text.empty()) {
        const ssize_t written = write(STDERR_FILENO, text.data(), text.size());
        if (written < 0) {
            if (errno == EINTR && PendingSignal() == 0) {
                continue;
            }
            return;
        }
        text.remove_prefix(static_cast<std::size_t>(written));
    }
}

// A file's name for the start-up line, cut so the line stays well within what a front end reads
// at once (it reads start-up text and closing text in blocks of 1024 bytes).
std::string ShortName(const std::string& path) {
    std::string name = std::filesystem::path(path).filename();
    constexpr std::size_t kLimit = 160;
    if (name.size() <= kLimit) {
        return name;
    }
    std::size_t cut = kLimit;
    while (cut > 0 && (static_cast<unsigned char>(name[cut]) & 0xC0) == 0x80) {
        --cut; // not inside a UTF-8 character
    }
    return name.substr(0, cut) + "...";
}

std::string StartupLine(const Settings& settings) {
    std::string line = "gogo (Vamble's encoder, LAME " + std::string(get_lame_short_version()) +
                       "): " + ShortName(settings.input) + " -> " + ShortName(settings.output);
    if (settings.vbrLevel) {
        line += ", VBR quality " + std::to_string(*settings.vbrLevel);
    } else {
        line += ", CBR " + std::to_string(settings.bitrate) + " kbit/s";
    }
    switch (settings.mode) {
    case ChannelMode::Stereo:
        line += ", stereo";
        break;
    case ChannelMode::Mono:
        line += ", mono";
        break;
    case ChannelMode::JointStereo:
        line += ", joint stereo";
        break;
    }
    if (settings.noPsy) {
        line += ", fast quantisation";
    }
    line += ", priority " + std::to_string(settings.priority) + "\n";
    return line;
}

// Lowers the process's priority to the asked one; it is never raised above what it was.
void ApplyPriority(int priority) {
    errno = 0;
    const int current = getpriority(PRIO_PROCESS, 0);
    const int wanted = NiceValueForPriority(priority);
    if (errno == 0 && wanted > current) {
        setpriority(PRIO_PROCESS, 0, wanted);
    }
}

bool SameFile(const std::string& a, const std::string& b) {
    struct stat first {};
    struct stat second {};
    return stat(a.c_str(), &first) == 0 && stat(b.c_str(), &second) == 0 &&
           first.st_dev == second.st_dev && first.st_ino == second.st_ino;
}

int Failure(const std::string& message) {
    Say("gogo: " + message + "\n");
    return kFailed;
}

// Opens /dev/null on each standard descriptor that the encoder was started without, so that no
// file it opens takes that number and receives its progress lines or messages.
void KeepStandardDescriptorsOpen() {
    for (int fd = STDIN_FILENO; fd <= STDERR_FILENO; ++fd) {
        if (fcntl(fd, F_GETFD) < 0 && errno == EBADF) {
            // The lowest free descriptor, so this one.
            open("/dev/null", (fd == STDIN_FILENO ? O_RDONLY : O_WRONLY) | O_CLOEXEC);
        }
    }
}

int Run(const Settings& settings) {
    Say(StartupLine(settings));

    std::string error;
    const std::unique_ptr<WavFile> input = WavFile::Open(settings.input, error);
    if (!input) {
        return Failure("cannot read input \"" + settings.input + "\": " + error);
    }
    if (SameFile(settings.input, settings.output)) {
        return Failure("the output \"" + settings.output + "\" is the input file");
    }
    const std::unique_ptr<OutputFile> output = OutputFile::Create(settings.output, error);
    if (!output) {
        return Failure(error);
    }

    const auto start = std::chrono::steady_clock::now();
    ProgressReporter progress([](std::string_view line) { WriteIfReady(STDOUT_FILENO, line); },
                              [start] {
                                  const std::chrono::duration<double> elapsed =
                                      std::chrono::steady_clock::now() - start;
                                  return elapsed.count();
                              });
    const EncodeResult result =
        Encode(settings, *input, *output, progress, [] { return PendingSignal() != 0; });
    if (PendingSignal() != 0) {
        return Failure(std::string("stopped by SIG") + sigabbrev_np(PendingSignal()) +
                       (output->InPlace() ? "" : "; no output was written"));
    }
    if (result.status == EncodeResult::Status::Failed) {
        return Failure(result.error);
    }
    if (!output->Commit()) {
        return Failure(output->Error());
    }

    std::string closing;
    if (settings.deleteInput && unlink(settings.input.c_str()) != 0) {
        closing = "gogo: the input \"" + ShortName(settings.input) +
                  "\" could not be deleted: " + std::strerror(errno) + "\n";
    }
    Say(closing + "End of encoding\n");
    return kEncoded;
}

} // namespace

int main(int argc, char** argv) {
    KeepStandardDescriptorsOpen();
    const std::vector<std::string_view> args(argv + std::min(argc, 1), argv + argc);
    const ParseResult parsed = ParseCommandLine(args);
    if (!parsed.settings) {
        Say("gogo: " + parsed.error + "\n" + UsageText());
        return kUsage;
    }
    InstallSignalHandlers();
    ApplyPriority(parsed.settings->priority);
    const int status = Run(*parsed.settings);
    // Only now, with the partial output removed as Run returned, the stop request is obeyed.
    if (const int signal = PendingSignal(); signal != 0 && status == kFailed) {
        EndBySignal(signal);
    }
    return status;
}
