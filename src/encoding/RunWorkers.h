// SPDX-License-Identifier: GPL-3.0-or-later
// The threads that do an encoding run's work in the program: one encoding thread per row, one
// thread that tags the finished files, so that the window never waits for a file's copy to reach
// the disk, one that measures loudness, and pooled reads of the WAV files' lengths. All report to
// the run through one sink.
#pragma once

#include "encoding/EncodeQueue.h"
#include "encoding/LoudnessWorker.h"
#include "encoding/RunReports.h"

#include <condition_variable>
#include <deque>
#include <memory>
#include <mutex>
#include <thread>

// Tags finished files one after another on a thread of its own and reports each as a
// TagsWrittenReport. A file that is to have ReplayGain tags waits until `loudness` has measured its
// album.
class TagWorker {
public:
    TagWorker(ReportSink target, std::shared_ptr<LoudnessWorker> measured);
    // Tags the files still waiting, then ends the thread: nothing handed over is left untagged.
    ~TagWorker();
    TagWorker(const TagWorker&) = delete;
    TagWorker& operator=(const TagWorker&) = delete;

    void Tag(FinishedFile file);

private:
    void Run();

    const ReportSink report;
    const std::shared_ptr<LoudnessWorker> loudness;
    std::mutex mutex;
    std::condition_variable waiting;
    std::deque<FinishedFile> files;
    bool ending = false;
    std::thread thread; // last: it starts once the members it uses are made
};

class RunWorkers : public EncodeQueue::Workers {
public:
    explicit RunWorkers(const ReportSink& target)
        : report(target), loudness(std::make_shared<LoudnessWorker>()), tagger(target, loudness) {}
    // The files handed over are tagged before it returns; a loudness not measured yet is not
    // waited for.
    ~RunWorkers() override;
    RunWorkers(const RunWorkers&) = delete;
    RunWorkers& operator=(const RunWorkers&) = delete;

    std::unique_ptr<RunningEncoder> StartEncoder(EncodeJob job) override;
    // The file counts in its album's loudness before its tagging waits for that.
    void StartTagging(FinishedFile file) override {
        loudness->Encoded(file.row);
        tagger.Tag(std::move(file));
    }
    void MeasureLoudness(std::vector<LoudnessJob> rows) override {
        loudness->Measure(std::move(rows));
    }
    void NoMoreStart(const std::vector<int64_t>& encoding) override {
        loudness->NoMoreStart(encoding);
    }
    void MeasureLengths(int64_t run, std::vector<LengthJob> rows) override;

private:
    ReportSink report;
    // Shared with the encoding threads that wait for it, which may outlive the workers.
    std::shared_ptr<LoudnessWorker> loudness;
    TagWorker tagger;
};
