// SPDX-License-Identifier: GPL-3.0-or-later
// The encoding thread: prepares and runs one encoder command and reports to the run.
#pragma once

#include "encoding/EncodeJob.h"
#include "encoding/EncodeStop.h"
#include "encoding/RunReports.h"

#include <chrono>
#include <condition_variable>
#include <cstdint>
#include <memory>
#include <mutex>
#include <string>
#include <thread>

// What a worker thread shares with its owner. It lives as long as either, so that a thread
// its owner stopped waiting for touches nothing that is gone.
struct EncodeThreadState {
    explicit EncodeThreadState(ReportSink sink) : report(std::move(sink)) {}

    void MarkEnded();
    // Whether the thread has marked itself ended, waiting for it at most `limit`.
    bool WaitEnded(std::chrono::milliseconds limit);

    const ReportSink report;
    EncodeStop stop;

private:
    std::mutex mutex;
    std::condition_variable endedChanged;
    bool ended = false;
};

// The entry function of an encoding thread, named "vamble_thread". Prepares the job's output as
// the job asks, runs its command, reports an EncodeProgressReport for its progress and, once it
// has marked itself ended in `state`, an EncodeFinishedReport with the outcome. Returns 0.
int32_t vamble_thread(const EncodeJob& job, EncodeThreadState& state);

// Owns the encoding thread of one row: at most one at a time.
class EncodeWorker final : public RunningEncoder {
public:
    EncodeWorker() = default;
    // Stops the thread and waits for it for at most about a second.
    ~EncodeWorker() override;
    EncodeWorker(const EncodeWorker&) = delete;
    EncodeWorker& operator=(const EncodeWorker&) = delete;

    // Starts a thread for the job that reports to `target`. A thread that has ended (marked
    // itself so before posting its finished report) is let go first; one that is still running
    // makes the call refuse and return false.
    bool Start(EncodeJob job, ReportSink target);
    // Asks the running thread to stop; returns at once. The encoder is killed and the thread
    // reports the run stopped, unless the encoder had already finished its file.
    void RequestStop() override;
    // Waits for the thread to mark itself ended, at most `limit`, and lets it go: it ends by
    // itself, touching only what it shares. Returns whether it had ended (or none was running).
    bool Wait(std::chrono::milliseconds limit) override;

private:
    std::shared_ptr<EncodeThreadState> state;
    std::thread thread;
};
