// SPDX-License-Identifier: GPL-3.0-or-later
// Running one encoder command and judging how it ended, without any window.
#pragma once

#include "encoding/EncodeStop.h"
#include "encoding/EncoderCommand.h"

#include <cstdio>
#include <functional>
#include <string>

// How one encoder run ended.
struct EncodeOutcome {
    bool encoded = false; // the encoder said it had finished and exited with status 0
    bool stopped = false; // a stop request ended the run
    std::string output;   // the output path: word 2 of the command, empty when there is none
    int status = -1;      // the encoder's exit status; -1 when it did not exit by itself
    std::string reason;   // why the file was not encoded, for the user; empty when encoded or
                          // stopped
    // The encoder was not started: what its file needs could not be made on disk (the status
    // says why), or a file the run may not replace is at the output path.
    CommandStatus prepared = CommandStatus::Ready;
    bool outputExists = false;
};

using ProgressFunction = std::function<void(float fraction)>;

// Splits `command` into words, starts the first with the whole vector as its arguments and
// reads the encoder's standard output and standard error together until both end, calling
// `onProgress` with the fraction done (0 to 1) that the last progress line of each read gives,
// when it differs from the one before. Progress lines are read a few times a second, together. Then
// it reaps the encoder. The file counts as encoded when "End of encoding\n" appeared on standard
// error and the encoder exited with status 0. A request on `stop` kills the encoder's process group
// at once and ends the run as stopped. The diagnostic lines go to `diagnostics`. No child process
// or descriptor outlives the call.
EncodeOutcome RunEncoder(const std::string& command, const EncodeStop& stop,
                         const ProgressFunction& onProgress, std::FILE* diagnostics = stdout);
