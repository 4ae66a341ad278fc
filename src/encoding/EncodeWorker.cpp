// SPDX-License-Identifier: GPL-3.0-or-later
#include "encoding/EncodeWorker.h"

#include "encoding/EncodeMessages.h"
#include "encoding/EncodeRun.h"

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

int32_t vamble_thread(const EncodeJob& job, EncodeThreadState& state) {
    pthread_setname_np(pthread_self(), "vamble_thread");
    EncodeFinishedReport finished{job.run, job.row, {}};
    if (job.beforeEncoder) {
        job.beforeEncoder(state.stop);
    }
    finished.outcome = RunEncoder(job.command, state.stop, [&](float fraction) {
        state.target->Post(EncodeProgressReport{job.run, job.row, fraction}.ToMessage());
    });
    // Marked first, so that the window may start the next worker as soon as it reads this.
    state.MarkEnded();
    state.target->Post(finished.ToMessage());
    return 0;
}

EncodeWorker::~EncodeWorker() {
    RequestStop();
    Wait(std::chrono::seconds(1));
}

bool EncodeWorker::Start(EncodeJob job, std::shared_ptr<kit::Messenger> target) {
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
