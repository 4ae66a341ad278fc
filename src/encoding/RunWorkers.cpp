// SPDX-License-Identifier: GPL-3.0-or-later
#include "encoding/RunWorkers.h"

#include "encoding/EncodeWorker.h"

#include <pthread.h>

TagWorker::TagWorker(std::shared_ptr<kit::Messenger> target,
                     std::shared_ptr<LoudnessWorker> measured)
    : messenger(std::move(target)), loudness(std::move(measured)), thread([this] { Run(); }) {}

TagWorker::~TagWorker() {
    {
        const std::lock_guard lock(mutex);
        ending = true;
    }
    waiting.notify_one();
    thread.join();
}

void TagWorker::Tag(FinishedFile file) {
    {
        const std::lock_guard lock(mutex);
        files.push_back(std::move(file));
    }
    waiting.notify_one();
}

void TagWorker::Run() {
    pthread_setname_np(pthread_self(), "vamble_tags");
    std::unique_lock lock(mutex);
    for (;;) {
        waiting.wait(lock, [this] { return ending || !files.empty(); });
        if (files.empty()) {
            return; // ending, with nothing left to tag
        }
        FinishedFile file = std::move(files.front());
        files.pop_front();
        lock.unlock();
        const std::optional<RowLoudness> measured =
            file.replayGain && file.id3v2 ? loudness->WaitForAlbum(file.row) : std::nullopt;
        std::vector<std::string> missing = AddExtras(file, measured);
        const TagsWrittenReport report{file.run, file.row,
                                       TagFinishedFile(file, std::move(missing))};
        messenger->Post(report.ToMessage());
        lock.lock();
    }
}

RunWorkers::~RunWorkers() {
    loudness->Cancel();
}

std::unique_ptr<RunningEncoder> RunWorkers::StartEncoder(EncodeJob job) {
    if (loudness->MeasuredBeforeEncoding(job.row)) {
        job.beforeEncoder = [measuring = loudness, row = job.row](const EncodeStop& stop) {
            measuring->WaitMeasured(row, stop);
        };
    }
    auto worker = std::make_unique<EncodeWorker>();
    worker->Start(std::move(job), messenger);
    return worker;
}
