// SPDX-License-Identifier: GPL-3.0-or-later
#include "encoding/EncodeWorker.h"

#include "encoding/RunReports.h"
#include "support/FakeGogoOnPath.h"

#include <QCoreApplication>
#include <QDeadlineTimer>
#include <QTemporaryDir>
#include <filesystem>
#include <fstream>
#include <functional>
#include <gtest/gtest.h>
#include <mutex>
#include <variant>

namespace {

// The run's side: keeps what the worker reports, on the test's thread.
struct Receiver {
    std::mutex mutex;
    std::vector<RunReport> reports;
    bool open = true; // false once the run is gone
};

// Handles events until the condition holds; the limit only keeps a broken worker from hanging
// the test.
bool ProcessEventsUntil(const std::function<bool()>& condition) {
    const QDeadlineTimer limit(std::chrono::minutes(1));
    while (!condition() && !limit.hasExpired()) {
        QCoreApplication::processEvents(QEventLoop::AllEvents, 10);
    }
    return condition();
}

bool AThreadIsNamed(const std::string& name) {
    for (const auto& task : std::filesystem::directory_iterator("/proc/self/task")) {
        std::string comm;
        std::getline(std::ifstream(task.path() / "comm"), comm);
        if (comm == name) {
            return true;
        }
    }
    return false;
}

class EncodeWorkerTest : public ::testing::Test {
protected:
    EncodeJob Job() const {
        EncodeJob job{7, 42, {}};
        job.command.text = "gogo in.wav \"" + Output() + "\" -b 128 -cpu 1 -m s -priority 10";
        job.prepare = false;
        return job;
    }
    std::string Output() const { return folder.filePath(QStringLiteral("out.mp3")).toStdString(); }
    // As the window does before it goes: a worker that is let go must not report to it.
    void TearDown() override { Close(); }
    void Close() {
        const std::lock_guard lock(receiver->mutex);
        receiver->open = false;
    }
    std::vector<RunReport> Reports() const {
        const std::lock_guard lock(receiver->mutex);
        return receiver->reports;
    }
    std::optional<EncodeFinishedReport> Finished() const {
        const std::vector<RunReport> reports = Reports();
        if (reports.empty() || !std::holds_alternative<EncodeFinishedReport>(reports.back())) {
            return std::nullopt;
        }
        return std::get<EncodeFinishedReport>(reports.back());
    }
    bool FakeRunning() const {
        const auto invocations = fake.Invocations();
        return !invocations.empty() && invocations.back().running;
    }

    QTemporaryDir folder;
    FakeGogoOnPath fake;
    std::shared_ptr<Receiver> receiver = std::make_shared<Receiver>();
    ReportSink sink = [kept = receiver](RunReport report) {
        const std::lock_guard lock(kept->mutex);
        if (kept->open) {
            kept->reports.push_back(std::move(report));
        }
    };
};

TEST_F(EncodeWorkerTest, PostsProgressAndTheOutcomeOfItsRowAndRun) {
    // Lines far enough apart to be read one by one.
    qputenv("FAKE_GOGO_STEP_MS", "80");
    EncodeWorker worker;
    ASSERT_TRUE(worker.Start(Job(), sink));
    ASSERT_TRUE(ProcessEventsUntil([this] { return Finished().has_value(); }));
    EXPECT_TRUE(worker.Wait(std::chrono::minutes(1)));
    qunsetenv("FAKE_GOGO_STEP_MS");

    std::vector<float> fractions;
    for (const RunReport& report : Reports()) {
        if (const auto* progress = std::get_if<EncodeProgressReport>(&report)) {
            EXPECT_EQ(std::pair(progress->run, progress->row), std::pair(int64_t{7}, int64_t{42}));
            fractions.push_back(progress->fraction);
        }
    }
    EXPECT_EQ(fractions, (std::vector<float>{0.0f, 0.25f, 0.5f, 0.75f, 1.0f}));
    const EncodeFinishedReport finished = *Finished();
    EXPECT_EQ(std::pair(finished.run, finished.row), std::pair(int64_t{7}, int64_t{42}));
    EXPECT_TRUE(finished.outcome.encoded);
    EXPECT_EQ(finished.outcome.output, Output());
}

// The disk work before the encoder: a file already there is not replaced unless agreed, and a
// folder that cannot be made is reported with its status; neither starts the encoder.
TEST_F(EncodeWorkerTest, PreparesTheOutputBeforeTheEncoderStarts) {
    const std::string source = folder.filePath(QStringLiteral("in.wav")).toStdString();
    std::ofstream(source) << "RIFF";
    std::ofstream(Output()) << "an earlier MP3";
    const struct {
        std::string outputDir;
        std::string name;
        bool mayReplace;
        bool exists;
        CommandStatus prepared;
        bool encoderRan;
    } cases[] = {
        {"", "out", false, true, CommandStatus::Ready, false},
        {"", "out", true, false, CommandStatus::Ready, true},
        {"/in.wav/below", "out", false, false, CommandStatus::OutputDirectoryError, false},
    };
    for (const auto& c : cases) {
        EncoderSettings settings;
        settings.outputDir = folder.path().toStdString() + c.outputDir;
        const size_t before = fake.Invocations().size();
        EncodeJob job{7, 42, PlanEncoderCommand(settings, source, c.name)};
        job.mayReplace = c.mayReplace;
        EncodeWorker worker;
        ASSERT_TRUE(worker.Start(std::move(job), sink));
        ASSERT_TRUE(ProcessEventsUntil([this] { return Finished().has_value(); }));
        EXPECT_TRUE(worker.Wait(std::chrono::minutes(1)));
        EXPECT_EQ(Finished()->outcome.outputExists, c.exists) << c.outputDir;
        EXPECT_EQ(Finished()->outcome.prepared, c.prepared) << c.outputDir;
        EXPECT_EQ(fake.Invocations().size() > before, c.encoderRan) << c.outputDir;
        const std::lock_guard lock(receiver->mutex);
        receiver->reports.clear();
    }
}

TEST_F(EncodeWorkerTest, AStopEndsTheNamedThreadAndIsReportedAsStopped) {
    FakeGogoOnPath::SetMode("hang");
    EncodeWorker worker;
    ASSERT_TRUE(worker.Start(Job(), sink));
    ASSERT_TRUE(ProcessEventsUntil([this] { return FakeRunning(); }));
    EXPECT_TRUE(AThreadIsNamed("vamble_thread"));
    EXPECT_FALSE(worker.Start(Job(), sink)); // one encoder at a time

    worker.RequestStop();
    ASSERT_TRUE(ProcessEventsUntil([this] { return Finished().has_value(); }));
    EXPECT_TRUE(worker.Wait(std::chrono::minutes(1)));
    EXPECT_TRUE(Finished()->outcome.stopped);
    EXPECT_FALSE(FakeRunning());
    EXPECT_TRUE(worker.Start(Job(), sink)); // the next row may start
}

TEST_F(EncodeWorkerTest, AWorkerThatGoesStopsItsEncoder) {
    FakeGogoOnPath::SetMode("hang");
    {
        EncodeWorker worker;
        ASSERT_TRUE(worker.Start(Job(), sink));
        ASSERT_TRUE(ProcessEventsUntil([this] { return FakeRunning(); }));
    } // the destructor stops the encoder
    EXPECT_TRUE(ProcessEventsUntil([this] { return !FakeRunning(); }));
}

} // namespace
