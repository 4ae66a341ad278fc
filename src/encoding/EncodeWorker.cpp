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

namespace {

kit::Message RowMessage(uint32_t what, const EncodeJob& job) {
    kit::Message message(what);
    message.Add("run", job.run);
    message.Add("row", job.row);
    return message;
}

} // namespace

int32_t vamble_thread(const EncodeJob& job, EncodeThreadState& state) {
    pthread_setname_np(pthread_self(), "vamble_thread");
    const EncodeOutcome outcome = RunEncoder(job.command, state.stop, [&](float fraction) {
        kit::Message message = RowMessage(MSG_ENCODE_PROGRESS, job);
        message.Add("fraction", fraction);
        state.target->Post(std::move(message));
    });
    kit::Message finished = RowMessage(MSG_ENCODE_FINISHED, job);
    finished.Add("encoded", outcome.encoded);
    finished.Add("stopped", outcome.stopped);
    finished.Add("output", outcome.output);
    finished.Add("reason", outcome.reason);
    finished.Add("status", static_cast<int32_t>(outcome.status));
    // Marked first, so that the window may start the next worker as soon as it reads this.
    state.MarkEnded();
    state.target->Post(std::move(finished));
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
        thread.join();
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
    if (state->WaitEnded(limit)) {
        thread.join();
        return true;
    }
    thread.detach();
    return false;
}
