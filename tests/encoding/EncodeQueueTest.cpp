// SPDX-License-Identifier: GPL-3.0-or-later
// The run's scheduling, driven step by step with a fake view and fake workers: no processes, no
// threads, no waiting. Each case is a script of what happens and the events the queue causes.
#include "encoding/EncodeQueue.h"

#include <QTemporaryDir>
#include <fstream>
#include <gtest/gtest.h>
#include <map>
#include <sstream>

namespace {

// Rows 1 to N, each writing "<folder>/<output name>"; the events the queue causes, in order.
class FakeView : public EncodeQueue::Hooks {
public:
    std::optional<QueuedRow> RowAt(int32_t index) override {
        if (index < 0 || static_cast<size_t>(index) >= rows.size()) {
            return std::nullopt;
        }
        return rows[static_cast<size_t>(index)];
    }
    int FilesAtOnce() const override { return filesAtOnce; }
    EncoderCommand Command(int32_t index) override {
        const int64_t id = rows[static_cast<size_t>(index)].id;
        EncoderCommand command;
        command.status = refused.contains(id) ? refused[id] : CommandStatus::Ready;
        command.detail = command.status == CommandStatus::Ready ? "" : "refused";
        command.outputPath = folder + "/" + (names.contains(id) ? names[id] : std::to_string(id));
        command.text = "encode " + std::to_string(id);
        return command;
    }
    void RowStarted(int64_t row) override { Log("start", row); }
    void Progress(int64_t row, float /*fraction*/) override { Log("progress", row); }
    void RunProgressed(const RunSummary& /*summary*/) override {}
    std::optional<FinishedFile> RowEncoded(int64_t row,
                                           const std::filesystem::path& output) override {
        Log("encoded", row);
        for (QueuedRow& r : rows) {
            if (r.id == row) {
                r.done = true;
                FinishedFile file;
                file.path = output;
                return file;
            }
        }
        return std::nullopt;
    }
    void RowFailed(int64_t row, const std::string& /*reason*/) override { Log("failed", row); }
    void RowHeldBack(int64_t row, ClashKind kind) override {
        Log(kind == ClashKind::SameAsRow ? "held-same" : "held-existing", row);
    }
    void RowTagged(int64_t row, const std::string& /*warning*/) override { Log("tagged", row); }
    void RunEnded(const RunEnd& end) override {
        const char* kinds[] = {"finished", "stopped", "failed"};
        std::string text = std::string("end ") + kinds[static_cast<int>(end.kind)];
        if (end.failure) {
            text += " by " + std::to_string(end.failure->row);
        }
        if (end.heldBack > 0) {
            text += " held " + std::to_string(end.heldBack);
        }
        log.push_back(text + " " + Counts(end.summary));
    }

    static std::string Counts(const RunSummary& summary) {
        return std::to_string(summary.rowsDone) + "/" + std::to_string(summary.rowsInRun);
    }

    void Log(const char* what, int64_t row) {
        log.push_back(std::string(what) + " " + std::to_string(row));
    }

    std::vector<QueuedRow> rows;
    int filesAtOnce = 1;
    std::string folder;
    std::map<int64_t, std::string> names;
    std::map<int64_t, CommandStatus> refused;
    std::vector<std::string> log;
    // What the fake workers were given: each row's runs in order, and the files to tag.
    std::map<int64_t, std::vector<int64_t>> runsOfRow;
    // The last job each row was given.
    std::map<int64_t, EncodeJob> jobs;
    std::vector<FinishedFile> tagging;
};

class FakeEncoder : public RunningEncoder {
public:
    FakeEncoder(FakeView& owner, int64_t id) : view(owner), row(id) {}
    void RequestStop() override { view.Log("stop", row); }
    bool Wait(std::chrono::milliseconds /*limit*/) override { return true; }

private:
    FakeView& view;
    int64_t row;
};

class FakeWorkers : public EncodeQueue::Workers {
public:
    explicit FakeWorkers(FakeView& owner) : view(owner) {}
    std::unique_ptr<RunningEncoder> StartEncoder(EncodeJob job) override {
        view.runsOfRow[job.row].push_back(job.run);
        view.jobs[job.row] = job;
        return std::make_unique<FakeEncoder>(view, job.row);
    }
    void StartTagging(FinishedFile file) override { view.tagging.push_back(std::move(file)); }
    void MeasureLoudness(std::vector<LoudnessJob> /*rows*/) override {}
    void NoMoreStart(const std::vector<int64_t>& /*encoding*/) override {}
    void MeasureLengths(int64_t /*run*/, std::vector<LengthJob> /*rows*/) override {}

private:
    FakeView& view;
};

struct Case {
    const char* name;
    int rows;
    int filesAtOnce;
    // Set-up: "done N", "name N FILE" (row N writes FILE), "exists FILE", "agreed FILE" (the user
    // agreed to replace it), "refuse N" (N's path holds a double quote), "nofolder N" (no output
    // folder for N). Then: "encode", "finish N", "fail N", "stopped N", "progress N", "tag N",
    // "stop", "remove N", "add N", "look N" (N's worker checks the disk before its encoder),
    // "unwritable N" (N's worker cannot make its folders), "summary" (logs rows done/in run); a
    // report with "late-" comes from the first encoder row N had.
    std::vector<std::string> steps;
    std::string events;
};

const Case kCases[] = {
    {"OneAfterAnotherInListOrder",
     3,
     1,
     {"encode", "finish 1", "tag 1", "finish 2", "finish 3", "tag 2", "tag 3"},
     "start 1, encoded 1, start 2, tagged 1, encoded 2, start 3, encoded 3, tagged 2, "
     "tagged 3, end finished 3/3"},
    {"AtMostTheLimitAtOnceAndDoneRowsPassedOver",
     4,
     2,
     {"done 2", "encode", "finish 3", "finish 1", "finish 4", "tag 3", "tag 1", "tag 4"},
     "start 1, start 3, encoded 3, start 4, encoded 1, encoded 4, tagged 3, tagged 1, tagged 4, "
     "end finished 3/3"},
    {"AFailureLetsTheRowBesideItFinishAndTagsIt",
     3,
     2,
     {"encode", "fail 1", "progress 2", "finish 2", "tag 2"},
     "start 1, start 2, failed 1, progress 2, encoded 2, tagged 2, end failed by 1 1/2"},
    {"ARefusedRowKeepsItsReasonAndStopsNothing",
     3,
     2,
     {"refuse 2", "encode", "finish 1", "tag 1"},
     "start 1, failed 2, encoded 1, tagged 1, end failed by 2 1/2"},
    {"AFolderThatCannotBeMadeEndsTheRunWithoutMarkingARow",
     2,
     1,
     {"nofolder 1", "encode"},
     "end failed by 1 0/1"},
    {"AFolderTheWorkerCannotMakeEndsTheRunLikewise",
     2,
     2,
     {"encode", "unwritable 1", "finish 2", "tag 2"},
     "start 1, start 2, encoded 2, tagged 2, end failed by 1 1/1"},
    {"ReportsOfAStoppedRunAreDroppedButAFinishedFileIsKept",
     3,
     2,
     {"encode", "stop", "progress 1", "fail 2", "finish 1", "tag 1"},
     "start 1, start 2, stop 1, stop 2, end stopped 0/3, encoded 1, tagged 1"},
    {"ALateReportOfAnEarlierRunTouchesNothingOfTheNext",
     2,
     1,
     {"encode", "stop", "encode", "late-fail 1", "late-progress 1", "finish 1"},
     "start 1, stop 1, end stopped 0/2, start 1, encoded 1, start 2"},
    {"AStoppedRowIsTheFirstOfTheNextRun",
     3,
     1,
     {"encode", "finish 1", "tag 1", "stop", "encode", "finish 2"},
     "start 1, encoded 1, start 2, tagged 1, stop 2, end stopped 1/3, start 2, encoded 2, "
     "start 3"},
    {"TheRunEndsOnlyOnceItsFilesAreTagged",
     1,
     1,
     {"encode", "finish 1", "encode", "tag 1"},
     "start 1, encoded 1, tagged 1, end finished 1/1"},
    {"ARemovedRowIsStoppedAndTheNextOneStarts",
     3,
     1,
     {"encode", "remove 1", "stopped 1", "finish 2", "tag 2", "finish 3", "tag 3"},
     "start 1, stop 1, start 2, encoded 2, start 3, tagged 2, encoded 3, tagged 3, "
     "end finished 2/2"},
    {"ARemovedRowGivesUpItsOutputFile",
     2,
     1,
     {"name 1 a.mp3", "name 3 A.mp3", "encode", "remove 1", "add 3", "finish 2", "finish 3",
      "tag 2", "tag 3"},
     "start 1, stop 1, start 2, encoded 2, start 3, encoded 3, tagged 2, tagged 3, "
     "end finished 2/2"},
    {"RowsAddedDuringTheRunAreEncodedInIt",
     1,
     1,
     {"encode", "add 2", "finish 1", "tag 1", "finish 2", "tag 2"},
     "start 1, encoded 1, start 2, tagged 1, encoded 2, tagged 2, end finished 2/2"},
    {"RowsAddedDuringTheRunCountInItsProgress",
     1,
     1,
     {"encode", "finish 1", "add 2", "add 3", "summary", "stop"},
     "start 1, encoded 1, 1/3, end stopped 1/3"},
    {"TwoRowsOfOneFileWhateverTheLetterCase",
     3,
     2,
     {"name 1 Song.mp3", "name 2 song.MP3", "encode", "finish 1", "finish 3", "tag 1", "tag 3"},
     "start 1, held-same 2, start 3, encoded 1, encoded 3, tagged 1, tagged 3, "
     "end finished held 1 2/2"},
    {"AFileNobodyAgreedToReplaceIsHeldBackWhenItsRowStarts",
     3,
     1,
     {"exists 2", "exists 3", "agreed 3", "encode", "look 1", "finish 1", "tag 1", "look 2",
      "look 3", "finish 3", "tag 3"},
     "start 1, encoded 1, start 2, tagged 1, held-existing 2, start 3, encoded 3, tagged 3, "
     "end finished held 1 2/2"},
};

class EncodeQueueTest : public ::testing::TestWithParam<Case> {};

TEST_P(EncodeQueueTest, Schedules) {
    const Case& c = GetParam();
    QTemporaryDir folder;
    FakeView view;
    view.folder = folder.path().toStdString();
    view.filesAtOnce = c.filesAtOnce;
    for (int64_t id = 1; id <= c.rows; ++id) {
        view.rows.push_back({id, false, {}});
    }
    std::vector<std::string> agreed;
    EncodeQueue queue(view, std::make_unique<FakeWorkers>(view));
    for (const std::string& step : c.steps) {
        std::istringstream words(step);
        std::string word;
        std::string file;
        int64_t row = 0;
        words >> word;
        if (word == "exists" || word == "agreed") {
            words >> file;
            if (word == "exists") {
                std::ofstream(view.folder + "/" + file) << "an earlier MP3";
            } else {
                agreed.push_back(view.folder + "/" + file);
            }
            continue;
        }
        words >> row >> file;
        const bool late = word.starts_with("late-");
        if (late) {
            word.erase(0, 5);
        }
        const std::vector<int64_t>& runs = view.runsOfRow[row];
        const int64_t run = runs.empty() ? 0 : late ? runs.front() : runs.back();
        EncodeFinishedReport finished{run, row, {}};
        finished.outcome.output = view.folder + "/" + std::to_string(row);
        if (word == "done") {
            view.rows[static_cast<size_t>(row - 1)].done = true;
        } else if (word == "name") {
            view.names[row] = file;
        } else if (word == "refuse" || word == "nofolder") {
            view.refused[row] =
                word == "refuse" ? CommandStatus::UnsafePath : CommandStatus::OutputDirectoryError;
        } else if (word == "encode") {
            if (!queue.Running()) {
                RunStart start;
                start.agreed = agreed;
                queue.Begin(std::move(start));
            }
            queue.StartMore();
        } else if (word == "finish" || word == "fail" || word == "stopped") {
            finished.outcome.encoded = word == "finish";
            finished.outcome.stopped = word == "stopped";
            queue.Deliver(finished);
        } else if (word == "progress") {
            queue.Deliver(EncodeProgressReport{run, row, 0.5f});
        } else if (word == "tag") {
            const auto handed = std::find_if(view.tagging.begin(), view.tagging.end(),
                                             [row](const FinishedFile& f) { return f.row == row; });
            ASSERT_NE(handed, view.tagging.end()) << step;
            queue.Deliver(TagsWrittenReport{handed->run, row, {}});
        } else if (word == "stop") {
            queue.Stop();
        } else if (word == "remove") {
            std::erase_if(view.rows, [row](const QueuedRow& r) { return r.id == row; });
            queue.RowRemoved(row);
            queue.StartMore();
        } else if (word == "add") {
            view.rows.push_back({row, false, {}});
            queue.RowsChanged();
        } else if (word == "look") {
            const EncodeJob& job = view.jobs[row];
            finished.outcome.outputExists =
                !job.mayReplace && FileExistsOnDisk(job.command.outputPath.native());
            if (finished.outcome.outputExists) {
                queue.Deliver(finished);
            }
        } else if (word == "unwritable") {
            finished.outcome.prepared = CommandStatus::WriteProtected;
            queue.Deliver(finished);
        } else if (word == "summary") {
            view.log.push_back(FakeView::Counts(queue.Summary()));
        }
    }
    std::string events;
    for (const std::string& event : view.log) {
        events += (events.empty() ? "" : ", ") + event;
    }
    EXPECT_EQ(events, c.events);
}

INSTANTIATE_TEST_SUITE_P(Runs, EncodeQueueTest, ::testing::ValuesIn(kCases),
                         [](const ::testing::TestParamInfo<Case>& param) {
                             return std::string(param.param.name);
                         });

} // namespace
