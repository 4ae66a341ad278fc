// SPDX-License-Identifier: GPL-3.0-or-later
#include "encoding/EncodeQueue.h"

#include <algorithm>
#include <cstdio>

namespace {

// How long a stop waits for the encoders' threads before letting them end on their own.
constexpr std::chrono::seconds kStopWait{1};

} // namespace

EncodeQueue::EncodeQueue(Hooks& view, std::unique_ptr<Workers> runWorkers)
    : hooks(view), workers(std::move(runWorkers)) {}

EncodeQueue::~EncodeQueue() {
    StopJobs(jobs);
    // The workers go now, while the view is still there: the tagging thread finishes the files
    // it was handed first.
    workers.reset();
}

void EncodeQueue::Begin(std::unordered_set<int64_t> rowsLeftOut,
                        const std::vector<std::string>& agreed) {
    running = true;
    ++runId;
    leftOut = std::move(rowsLeftOut);
    agreedOverwrites.Clear();
    for (const std::string& path : agreed) {
        agreedOverwrites.Insert(path);
    }
    claimed.Clear();
    heldBack = 0;
    tagging = 0;
    failure.reset();
}

void EncodeQueue::StartMore() {
    if (!running) {
        return;
    }
    bool rowsLeft = true;
    while (!failure && jobs.size() < static_cast<size_t>(std::max(1, hooks.FilesAtOnce()))) {
        const std::optional<QueuedRow> row = NextRow();
        rowsLeft = row.has_value();
        if (!row || !StartRow(*row)) {
            break;
        }
    }
    if (failure || !rowsLeft) {
        workers->NoMoreStart(EncodingRows());
    }
    EndIfIdle();
}

std::optional<QueuedRow> EncodeQueue::NextRow() {
    const auto passedOver = [this](const QueuedRow& row) {
        return row.done || leftOut.contains(row.id) ||
               std::any_of(jobs.begin(), jobs.end(),
                           [&row](const Job& job) { return job.row == row.id; });
    };
    for (;; ++currentIndex) {
        const std::optional<QueuedRow> row = hooks.RowAt(currentIndex);
        if (!row || !passedOver(*row)) {
            return row;
        }
    }
}

bool EncodeQueue::StartRow(const QueuedRow& row) {
    EncoderCommand command = hooks.Command(currentIndex);
    if (command.status != CommandStatus::Ready) {
        failure = RunFailure{row.id, command.status, std::move(command.detail),
                             std::move(command.outputPath)};
        // A row that cannot be encoded keeps the reason; a folder that cannot be made is no
        // row's fault, and the alert says what to mend.
        if (AlertMessage(command.status) == nullptr) {
            hooks.RowFailed(row.id, failure->reason);
        }
        return false;
    }
    // Two rows of one run never write one file, and a file the user did not agree to replace
    // is not replaced, even when it appeared or the settings changed after the question.
    const std::string& output = command.outputPath.native();
    if (claimed.Contains(output)) {
        HoldBack(row.id, ClashKind::SameAsRow);
        return true;
    }
    if (!agreedOverwrites.Contains(output) && FileExistsOnDisk(output)) {
        HoldBack(row.id, ClashKind::ExistingFile);
        return true;
    }
    claimed.Insert(output);
    jobs.push_back({row.id, workers->StartEncoder({runId, row.id, std::move(command.text)})});
    hooks.RowStarted(row.id);
    return true;
}

void EncodeQueue::HoldBack(int64_t row, ClashKind kind) {
    leftOut.insert(row);
    ++heldBack;
    hooks.RowHeldBack(row, kind);
}

void EncodeQueue::Stop() {
    ++runId; // what the stopped encoders still report belongs to no run
    StopJobs(jobs);
    workers->NoMoreStart({});
    End(RunEnd::Kind::Stopped);
}

void EncodeQueue::StopJobs(std::vector<Job>& stopping) {
    for (Job& job : stopping) {
        job.encoder->RequestStop();
    }
    const auto deadline = std::chrono::steady_clock::now() + kStopWait;
    for (Job& job : stopping) {
        std::fputs("Wait for thread.\nWaiting for thread: vamble_thread\n", stdout);
        std::fflush(stdout);
        const auto left = std::chrono::duration_cast<std::chrono::milliseconds>(
            deadline - std::chrono::steady_clock::now());
        job.encoder->Wait(std::max(left, std::chrono::milliseconds(0)));
    }
    stopping.clear();
}

void EncodeQueue::RowRemoved(int64_t row) {
    leftOut.insert(row);
    const auto found =
        std::find_if(jobs.begin(), jobs.end(), [row](const Job& job) { return job.row == row; });
    if (found == jobs.end()) {
        return;
    }
    std::vector<Job> stopping;
    stopping.push_back(std::move(*found));
    jobs.erase(found);
    StopJobs(stopping);
}

void EncodeQueue::HandOver(FinishedFile file, int64_t run) {
    file.run = run;
    if (running && run == runId) {
        ++tagging; // the run ends once its files are tagged
    }
    workers->StartTagging(std::move(file));
}

void EncodeQueue::Deliver(const EncodeProgressReport& report) {
    if (report.run == runId && std::any_of(jobs.begin(), jobs.end(), [&report](const Job& job) {
            return job.row == report.row;
        })) {
        hooks.Progress(report.row, report.fraction);
    }
}

void EncodeQueue::Deliver(const EncodeFinishedReport& report) {
    const auto found = std::find_if(jobs.begin(), jobs.end(),
                                    [&report](const Job& job) { return job.row == report.row; });
    const bool current = report.run == runId && found != jobs.end();
    if (current) {
        jobs.erase(found); // the thread has ended; this joins it
    }
    // A file the encoder finished is never thrown away, whatever became of its run.
    if (report.outcome.encoded) {
        if (std::optional<FinishedFile> file =
                hooks.RowEncoded(report.row, report.outcome.output)) {
            file->row = report.row;
            HandOver(std::move(*file), report.run);
        }
    } else if (current && !report.outcome.stopped) {
        hooks.RowFailed(report.row, report.outcome.reason);
        // The first failure ends the run; the rows encoding beside it are finished first.
        if (!failure) {
            failure = RunFailure{report.row, CommandStatus::Ready, report.outcome.reason,
                                 report.outcome.output};
        }
    }
    if (current) {
        StartMore();
    }
}

void EncodeQueue::Deliver(const TagsWrittenReport& report) {
    hooks.RowTagged(report.row, report.warning);
    if (running && report.run == runId) {
        --tagging;
        StartMore();
    }
}

std::vector<int64_t> EncodeQueue::EncodingRows() const {
    std::vector<int64_t> rows;
    rows.reserve(jobs.size());
    for (const Job& job : jobs) {
        rows.push_back(job.row);
    }
    return rows;
}

void EncodeQueue::EndIfIdle() {
    if (running && jobs.empty() && tagging == 0) {
        End(failure ? RunEnd::Kind::Failed : RunEnd::Kind::Finished);
    }
}

void EncodeQueue::End(RunEnd::Kind kind) {
    const bool wasRunning = running;
    running = false;
    ++runId;
    currentIndex = 0;
    leftOut.clear();
    claimed.Clear();
    agreedOverwrites.Clear();
    RunEnd end{kind, std::exchange(failure, std::nullopt), std::exchange(heldBack, 0)};
    tagging = 0;
    if (wasRunning) {
        hooks.RunEnded(end);
    }
}
