// SPDX-License-Identifier: GPL-3.0-or-later
#include "encoding/RunWorkers.h"

#include "encoding/EncodeWorker.h"
#include "encoding/WavDuration.h"

#include <QThreadPool>

#include <pthread.h>

TagWorker::TagWorker(ReportSink target, std::shared_ptr<LoudnessWorker> measured)
    : report(std::move(target)), loudness(std::move(measured)), thread([this] { Run(); }) {}

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
        report(TagsWrittenReport{file.run, file.row, TagFinishedFile(file, std::move(missing))});
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
    worker->Start(std::move(job), report);
    return worker;
}

void RunWorkers::MeasureLengths(int64_t run, std::vector<LengthJob> rows) {
    QThreadPool::globalInstance()->start([run, rows = std::move(rows), sink = report] {
        RowLengthsReport lengths{run, {}};
        lengths.rows.reserve(rows.size());
        for (const LengthJob& row : rows) {
            lengths.rows.push_back({row.row, WavDurationSeconds(row.wav)});
        }
        sink(std::move(lengths));
    });
}
