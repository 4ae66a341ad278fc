// SPDX-License-Identifier: GPL-3.0-or-later
// The encoding run: which row starts next, how many encode at once, which output files the run
// has claimed, which reports are stale, what a failure ends, rows added and removed while it goes,
// the whole run's progress, and the hand-over of finished files for tagging. It sees the file list only through value
// snapshots its view gives it, never through pointers into the list; the window is its view.
#pragma once

#include "encoding/EncodeJob.h"
#include "encoding/RunReports.h"
#include "encoding/EncoderCommand.h"
#include "encoding/LoudnessWorker.h"
#include "encoding/OutputClashes.h"
#include "encoding/RunProgress.h"
#include "tagging/FinishedFile.h"

#include <chrono>
#include <cstdint>
#include <filesystem>
#include <memory>
#include <optional>
#include <string>
#include <unordered_map>
#include <unordered_set>
#include <vector>

// A row of the file list as the queue sees it when it looks for the next row to start.
struct QueuedRow {
    int64_t id = 0;
    bool done = false;
    std::filesystem::path source; // the WAV file
};

// What ended a run without the user asking: a row whose command could not be built or prepared
// (its status says why, with the folder alerts among them) or whose encoder failed (status
// Ready).
struct RunFailure {
    int64_t row = 0;
    CommandStatus status = CommandStatus::Ready;
    std::string reason;
    std::filesystem::path output;
};

// How far a whole run is: its rows weighted by how long they play.
struct RunSummary {
    double fraction = 0.0; // 0 to 1, never going back
    std::optional<std::chrono::seconds> timeLeft;
    int rowsInRun = 0; // rows encoded, encoding or waiting; rows left out no longer count
    int rowsDone = 0;
};

struct RunEnd {
    enum class Kind { Finished, Stopped, Failed };
    Kind kind = Kind::Finished;
    std::optional<RunFailure> failure; // with Failed
    // Rows held back when they were to start, because their output file was claimed by another
    // row of the run or would replace a file the user had not agreed to replace.
    int heldBack = 0;
    RunSummary summary; // as the run left off
};

// How a run begins.
struct RunStart {
    // Rows left out of the run, and the output files the user agreed to replace.
    std::unordered_set<int64_t> leftOut;
    std::vector<std::string> agreed;
    // The run's files get ReplayGain tags: their loudness is measured from the start, before the
    // encoder when it deletes the WAV file.
    bool replayGain = false;
    bool deleteInput = false;
};

// A row whose WAV file's length is to be read.
struct LengthJob {
    int64_t row = 0;
    std::filesystem::path wav;
};

class EncodeQueue {
public:
    // Where the run's work is done: threads in the program, fakes in tests. Both report back
    // through the queue's Deliver.
    class Workers {
    public:
        virtual ~Workers() = default;
        virtual std::unique_ptr<RunningEncoder> StartEncoder(EncodeJob job) = 0;
        // Tags the file off the caller's thread; reports a TagsWrittenReport.
        virtual void StartTagging(FinishedFile file) = 0;
        // Measures the loudness of the rows' WAV files for their ReplayGain tags, beside the
        // encoders; the tagging of a file that is to have them waits for its album.
        virtual void MeasureLoudness(std::vector<LoudnessJob> rows) = 0;
        // No further row of the run starts; those of `encoding` may still be encoded.
        virtual void NoMoreStart(const std::vector<int64_t>& encoding) = 0;
        // Reads how long the rows' WAV files play, off the caller's thread; reports a
        // RowLengthsReport.
        virtual void MeasureLengths(int64_t run, std::vector<LengthJob> rows) = 0;
    };

    // The queue's view of the file list and of the user.
    class Hooks {
    public:
        virtual ~Hooks() = default;
        // The row at this place of the list, in the order the list shows now; nothing past its
        // end.
        virtual std::optional<QueuedRow> RowAt(int32_t index) = 0;
        // How many rows may encode at the same time now.
        virtual int FilesAtOnce() const = 0;
        // The encoder command of the row at `index` as the settings are now, planned without
        // touching the disk (PlanEncoderCommand); its status says why there is none.
        virtual EncoderCommand Command(int32_t index) = 0;
        virtual void RowStarted(int64_t row) = 0;
        // The row's own progress, 0 to 1.
        virtual void Progress(int64_t row, float fraction) = 0;
        // The whole run's progress changed.
        virtual void RunProgressed(const RunSummary& summary) = 0;
        // The row's encoder has written its file, also for a row of a run that has since ended:
        // the row is done. Returns the file with everything it is tagged with, as the row holds
        // it now, for the queue to have tagged (the queue decides ReplayGain); nothing when the
        // row is gone.
        virtual std::optional<FinishedFile> RowEncoded(int64_t row,
                                                       const std::filesystem::path& output) = 0;
        // The row was not encoded and keeps the reason.
        virtual void RowFailed(int64_t row, const std::string& reason) = 0;
        // The row is left out of the run: its output file clashes as `kind` says.
        virtual void RowHeldBack(int64_t row, ClashKind kind) = 0;
        // A finished file's tags are written; `warning` says what is missing, if anything.
        virtual void RowTagged(int64_t row, const std::string& warning) = 0;
        virtual void RunEnded(const RunEnd& end) = 0;
    };

    EncodeQueue(Hooks& view, std::unique_ptr<Workers> workers);
    // Stops the encoders; files already handed over are still tagged before it returns.
    ~EncodeQueue();
    EncodeQueue(const EncodeQueue&) = delete;
    EncodeQueue& operator=(const EncodeQueue&) = delete;

    // Begins a run of the rows not done and not left out, in list order. Starts nothing yet;
    // false when no row is left to encode.
    bool Begin(RunStart start);
    // Rows were added to the list or moved: the search for the next row begins at the first
    // row again, and during a run rows added join it.
    void RowsChanged();
    // Starts rows from the cursor on until as many encode as the view allows; ends the run when
    // nothing is left to start or wait for. Rows that are done, left out or encoding are passed
    // over. After a failure nothing new starts: the rows encoding finish, then the run ends.
    void StartMore();
    // Stops every encoder and waits for them (at most about a second in all); the run ends as
    // stopped and the cursor goes back to the first row.
    void Stop();
    // The row is leaving the list: its encoder is stopped and waited for; nothing of it is
    // started again. The caller goes on with StartMore once the list is as it will stay.
    void RowRemoved(int64_t row);
    void Deliver(const RunReport& report);
    void Deliver(const EncodeProgressReport& report);
    void Deliver(const EncodeFinishedReport& report);
    void Deliver(const TagsWrittenReport& report);
    void Deliver(const RowLengthsReport& report);

    [[nodiscard]] bool Running() const { return running; }
    [[nodiscard]] RunSummary Summary() const;
    // The rows encoding now, in the order they started.
    [[nodiscard]] std::vector<int64_t> EncodingRows() const;
    // The place in the list where the search for the next row begins.
    [[nodiscard]] int32_t CurrentIndex() const { return currentIndex; }
    void SetCurrentIndex(int32_t index) { currentIndex = index; }

private:
    struct Job {
        int64_t row;
        std::unique_ptr<RunningEncoder> encoder;
    };

    // The next row to start from the cursor on, nothing when none is left.
    std::optional<QueuedRow> NextRow();
    // Builds and checks the row's command and starts its encoder; false when the run must not
    // go on (its command failed).
    bool StartRow(const QueuedRow& row);
    // The run cannot go on: a row's command could not be built or prepared.
    void CommandFailed(int64_t row, CommandStatus status, std::string reason,
                       std::filesystem::path output);
    void HoldBack(int64_t row, ClashKind kind);
    // The rows of the list that are not done, not left out and not counted yet join the run;
    // returns what measuring their loudness takes.
    std::vector<LoudnessJob> JoinNewRows();
    std::vector<LoudnessJob> Join(const std::vector<QueuedRow>& rows);
    // The row leaves the run unencoded; its claim on its output file goes.
    void RowLeft(int64_t row);
    void Claim(int64_t row, const std::string& output);
    void Release(int64_t row);
    void ShowProgress();
    // Has the finished file of a row of run `run` tagged off the view's thread.
    void HandOver(FinishedFile file, int64_t run);
    // Stops these jobs and waits for them, at most about a second in all.
    static void StopJobs(std::vector<Job>& stopping);
    void EndIfIdle();
    void End(RunEnd::Kind kind);

    Hooks& hooks;
    std::unique_ptr<Workers> workers;
    bool running = false;
    // Reports of other runs are stale; each run, and each stop, has a new id.
    int64_t runId = 0;
    int32_t currentIndex = 0;
    std::vector<Job> jobs;
    // How the run began; its leftOut grows by the rows that leave the run (held back, failed,
    // removed), which nothing starts again.
    RunStart start;
    // start.agreed, compared as one file system compares names.
    OutputPathSet agreedOverwrites;
    // The row that writes or has written each output file of the run, by the file's OutputKey,
    // and each claiming row's key.
    std::unordered_map<std::string, int64_t> claimedBy;
    std::unordered_map<int64_t, std::string> claims;
    int heldBack = 0;
    // The run's rows and how far each is; nothing without a run.
    std::optional<RunProgress> progress;
    int rowsInRun = 0;
    int rowsDone = 0;
    // Finished files of this run whose tags are not written yet: the run ends after them.
    int tagging = 0;
    // Set when a failure ended the run; the rows still encoding finish first.
    std::optional<RunFailure> failure;
};
