// SPDX-License-Identifier: GPL-3.0-or-later
// One row's encoding as the run hands it to a worker, and the worker as the run holds it.
#pragma once

#include "encoding/EncoderCommand.h"

#include <chrono>
#include <cstdint>
#include <functional>
#include <string>

class EncodeStop;

// What a worker needs, as values: nothing in it points into the window or its list.
struct EncodeJob {
    int64_t run = 0;     // the run this worker belongs to
    int64_t row = 0;     // the identity of the row being encoded (not its index)
    EncoderCommand command; // the encoder's command, planned (its text is the command line)
    // Before the encoder starts, on the worker's thread: make the folders and check the files the
    // command needs (PrepareOutput) ...
    bool prepare = true;
    // ... and, unless this is set, refuse to replace a file already at the output path.
    bool mayReplace = false;
    // Run on the worker's thread before the encoder starts, when set; a stop requested meanwhile
    // ends the wait, and the encoder is then not started.
    std::function<void(const EncodeStop&)> beforeEncoder = nullptr;
};

// An encoder started for one row.
class RunningEncoder {
public:
    virtual ~RunningEncoder() = default;
    // Asks the encoder to stop; returns at once.
    virtual void RequestStop() = 0;
    // Waits for the encoder's thread to end, at most `limit`; false when it was let go to end
    // by itself.
    virtual bool Wait(std::chrono::milliseconds limit) = 0;
};
