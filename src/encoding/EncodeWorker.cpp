// SPDX-License-Identifier: GPL-3.0-or-later
#include "encoding/EncodeWorker.h"

#include "encoding/EncodeRun.h"
#include "encoding/OutputClashes.h"
#include "encoding/RunReports.h"

#include <pthread.h>

void EncodeThreadState::MarkEnded() {
    const std::lock_guard lock(mutex);
    ended = true;
    endedChanged.notify_all();
}

bool EncodeThreadState::WaitEnded(std::chrono::milliseconds limit) {
    std::unique_lock lock(mutex);
    return endedChanged.wait_for(lock, limit, [this] { return ended; });
}

namespace {

// The disk work before the encoder (folders, the source, a file already at the output path) is
// done here rather than by the run, so that a slow or stalled folder holds up this thread only.
EncodeOutcome PrepareAndRun(const EncodeJob& job, EncodeThreadState& state) {
    EncodeOutcome outcome;
    outcome.output = job.command.outputPath.string();
    if (job.prepare) {
        OutputPreparation prepared = PrepareOutput(job.command);
        if (prepared.status != CommandStatus::Ready) {
            outcome.prepared = prepared.status;
            outcome.reason = std::move(prepared.detail);
            return outcome;
        }
        if (!job.mayReplace && FileExistsOnDisk(outcome.output)) {
            outcome.outputExists = true;
            return outcome;
        }
    }
    if (job.beforeEncoder) {
        job.beforeEncoder(state.stop);
    }
    return RunEncoder(job.command.text, state.stop, [&](float fraction) {
        state.report(EncodeProgressReport{job.run, job.row, fraction});
    });
}

} // namespace

int32_t vamble_thread(const EncodeJob& job, EncodeThreadState& state) {
    pthread_setname_np(pthread_self(), "vamble_thread");
    EncodeFinishedReport finished{job.run, job.row, {}};
    finished.outcome = PrepareAndRun(job, state);
    // Marked first, so that the run may start the next worker as soon as it reads this.
    state.MarkEnded();
    state.report(finished);
    return 0;
}

EncodeWorker::~EncodeWorker() {
    RequestStop();
    Wait(std::chrono::seconds(1));
}

bool EncodeWorker::Start(EncodeJob job, ReportSink target) {
    if (thread.joinable()) {
        if (!state->WaitEnded(std::chrono::milliseconds(0))) {
            return false;
        }
        thread.detach();
    }
    state = std::make_shared<EncodeThreadState>(std::move(target));
    thread = std::thread([job = std::move(job), shared = state] { vamble_thread(job, *shared); });
    return true;
}

void EncodeWorker::RequestStop() {
    if (state) {
        state->stop.Request();
    }
}

bool EncodeWorker::Wait(std::chrono::milliseconds limit) {
    if (!thread.joinable()) {
        return true;
    }
    // A thread that has marked itself ended touches nothing but what it shares, so it is let go
    // rather than joined: joining would wait until a busy processor runs it once more to return.
    const bool ended = state->WaitEnded(limit);
    thread.detach();
    return ended;
}
