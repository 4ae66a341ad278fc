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

bool EncodeQueue::Begin(RunStart runStart) {
    start = std::move(runStart);
    agreedOverwrites.Clear();
    for (const std::string& path : start.agreed) {
        agreedOverwrites.Insert(path);
    }
    ++runId;
    progress.emplace(std::vector<RunProgress::Row>{});
    std::vector<LoudnessJob> loudness = JoinNewRows();
    if (rowsInRun == 0) {
        progress.reset();
        return false;
    }
    running = true;
    // The loudness is measured from the start; rows that join later are tagged without it.
    if (start.replayGain) {
        workers->MeasureLoudness(std::move(loudness));
    }
    ShowProgress();
    return true;
}

std::vector<LoudnessJob> EncodeQueue::JoinNewRows() {
    std::vector<QueuedRow> rows;
    for (int32_t index = 0;; ++index) {
        std::optional<QueuedRow> row = hooks.RowAt(index);
        if (!row) {
            return Join(rows);
        }
        rows.push_back(std::move(*row));
    }
}

std::vector<LoudnessJob> EncodeQueue::Join(const std::vector<QueuedRow>& rows) {
    std::vector<LengthJob> lengths;
    std::vector<LoudnessJob> loudness;
    for (const QueuedRow& row : rows) {
        if (row.done || start.leftOut.contains(row.id) || !progress->Join(row.id)) {
            continue;
        }
        ++rowsInRun;
        lengths.push_back({row.id, row.source});
        loudness.push_back({row.id, row.source, start.deleteInput});
    }
    if (!lengths.empty()) {
        workers->MeasureLengths(runId, std::move(lengths));
    }
    return loudness;
}

void EncodeQueue::RowsChanged() {
    currentIndex = 0;
    if (running) {
        JoinNewRows();
        ShowProgress();
    }
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
        return row.done || start.leftOut.contains(row.id) ||
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
        CommandFailed(row.id, command.status, std::move(command.detail),
                      std::move(command.outputPath));
        return false;
    }
    // Two rows of one run never write one file, and a file the user did not agree to replace
    // is not replaced, even when it appeared or the settings changed after the question: the
    // worker looks before its encoder starts.
    const std::string output = command.outputPath.native();
    if (const auto owner = claimedBy.find(OutputKey(output));
        owner != claimedBy.end() && owner->second != row.id) {
        HoldBack(row.id, ClashKind::SameAsRow);
        return true;
    }
    Join({row}); // a row the list did not announce
    Claim(row.id, output);
    EncodeJob job{runId, row.id, std::move(command)};
    job.mayReplace = agreedOverwrites.Contains(output);
    jobs.push_back({row.id, workers->StartEncoder(std::move(job))});
    hooks.RowStarted(row.id);
    return true;
}

void EncodeQueue::CommandFailed(int64_t row, CommandStatus status, std::string reason,
                                std::filesystem::path output) {
    RowLeft(row);
    if (!failure) {
        failure = RunFailure{row, status, std::move(reason), std::move(output)};
    }
    // A row that cannot be encoded keeps the reason; a folder that cannot be made is no row's
    // fault, and the alert says what to mend.
    if (AlertMessage(status) == nullptr) {
        hooks.RowFailed(row, failure->reason);
    }
}

void EncodeQueue::HoldBack(int64_t row, ClashKind kind) {
    RowLeft(row);
    ++heldBack;
    hooks.RowHeldBack(row, kind);
}

void EncodeQueue::RowLeft(int64_t row) {
    start.leftOut.insert(row); // nothing of it starts again in this run
    Release(row);
    if (progress && progress->RowLeft(row)) {
        --rowsInRun;
        ShowProgress();
    }
}

void EncodeQueue::Claim(int64_t row, const std::string& output) {
    Release(row);
    const std::string key = OutputKey(output);
    claimedBy[key] = row;
    claims[row] = key;
}

void EncodeQueue::Release(int64_t row) {
    if (const auto claim = claims.find(row); claim != claims.end()) {
        claimedBy.erase(claim->second);
        claims.erase(claim);
    }
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
    RowLeft(row);
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
        file.replayGain = start.replayGain && file.id3v2;
        if (progress) {
            progress->RowDone(file.row);
            ++rowsDone;
            ShowProgress();
        }
    } else {
        file.replayGain = false;
    }
    workers->StartTagging(std::move(file));
}

void EncodeQueue::Deliver(const RunReport& report) {
    std::visit([this](const auto& typed) { Deliver(typed); }, report);
}

void EncodeQueue::Deliver(const EncodeProgressReport& report) {
    if (report.run == runId && std::any_of(jobs.begin(), jobs.end(), [&report](const Job& job) {
            return job.row == report.row;
        })) {
        hooks.Progress(report.row, report.fraction);
        if (progress) {
            progress->Progress(report.row, report.fraction);
            ShowProgress();
        }
    }
}

void EncodeQueue::Deliver(const EncodeFinishedReport& report) {
    const auto found = std::find_if(jobs.begin(), jobs.end(),
                                    [&report](const Job& job) { return job.row == report.row; });
    const bool current = report.run == runId && found != jobs.end();
    if (current) {
        jobs.erase(found); // the thread has ended; this joins it
    }
    const EncodeOutcome& outcome = report.outcome;
    // A file the encoder finished is never thrown away, whatever became of its run.
    if (outcome.encoded) {
        if (std::optional<FinishedFile> file = hooks.RowEncoded(report.row, outcome.output)) {
            file->row = report.row;
            HandOver(std::move(*file), report.run);
        }
    } else if (current && outcome.outputExists) {
        HoldBack(report.row, ClashKind::ExistingFile);
    } else if (current && outcome.prepared != CommandStatus::Ready) {
        CommandFailed(report.row, outcome.prepared, outcome.reason, outcome.output);
    } else if (current && !outcome.stopped) {
        RowLeft(report.row);
        hooks.RowFailed(report.row, outcome.reason);
        // The first failure ends the run; the rows encoding beside it are finished first.
        if (!failure) {
            failure = RunFailure{report.row, CommandStatus::Ready, outcome.reason, outcome.output};
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

void EncodeQueue::Deliver(const RowLengthsReport& report) {
    // The lengths of rows that joined a run are taken whatever run reads them: each row keeps
    // its identity.
    if (progress) {
        progress->SetLengths(report.rows);
        ShowProgress();
    }
}

RunSummary EncodeQueue::Summary() const {
    if (!progress) {
        return {};
    }
    return {progress->Fraction(), progress->TimeLeft(), rowsInRun, rowsDone};
}

void EncodeQueue::ShowProgress() {
    if (running) {
        hooks.RunProgressed(Summary());
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
    RunEnd end{kind, std::exchange(failure, std::nullopt), std::exchange(heldBack, 0), Summary()};
    start = {};
    claimedBy.clear();
    claims.clear();
    agreedOverwrites.Clear();
    progress.reset();
    rowsInRun = 0;
    rowsDone = 0;
    tagging = 0;
    if (wasRunning) {
        hooks.RunEnded(end);
    }
}
