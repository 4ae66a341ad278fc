// SPDX-License-Identifier: GPL-3.0-or-later
#include "encoding/EncodeWorker.h"

#include "encoding/EncodeMessages.h"
#include "kit/MessageEvent.h"
#include "support/FakeGogoOnPath.h"

#include <QCoreApplication>
#include <QDeadlineTimer>
#include <QTemporaryDir>
#include <filesystem>
#include <fstream>
#include <functional>
#include <gtest/gtest.h>

namespace {

// The window's side: keeps what the worker posts.
class Receiver : public QObject, public kit::Handler {
public:
    bool event(QEvent* event) override {
        return kit::DeliverMessageEvent(event, this) || QObject::event(event);
    }
    void MessageReceived(kit::Message* message) override { messages.push_back(*message); }

    std::vector<kit::Message> messages;
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
        return {7, 42,
                "gogo in.wav \"" + folder.filePath(QStringLiteral("out.mp3")).toStdString() +
                    "\" -b 128 -cpu 1 -m s -priority 10"};
    }
    // As the window does before it goes: a worker that is let go must not post to it.
    void TearDown() override { messenger->Clear(); }

    static kit::Message RowMessage(uint32_t what) {
        kit::Message message(what);
        message.Add("run", int64_t{7});
        message.Add("row", int64_t{42});
        return message;
    }
    bool Finished() const {
        return !receiver.messages.empty() && receiver.messages.back().what == MSG_ENCODE_FINISHED;
    }
    bool FakeRunning() const {
        const auto invocations = fake.Invocations();
        return !invocations.empty() && invocations.back().running;
    }

    QTemporaryDir folder;
    FakeGogoOnPath fake;
    Receiver receiver;
    std::shared_ptr<kit::Messenger> messenger = std::make_shared<kit::Messenger>(&receiver);
};

TEST_F(EncodeWorkerTest, PostsProgressAndTheOutcomeOfItsRowAndRun) {
    // Lines far enough apart to be read one by one.
    qputenv("FAKE_GOGO_STEP_MS", "80");
    EncodeWorker worker;
    ASSERT_TRUE(worker.Start(Job(), messenger));
    ASSERT_TRUE(ProcessEventsUntil([this] { return Finished(); }));
    EXPECT_TRUE(worker.Wait(std::chrono::minutes(1)));
    qunsetenv("FAKE_GOGO_STEP_MS");

    std::vector<kit::Message> expected;
    for (const float fraction : {0.0f, 0.25f, 0.5f, 0.75f, 1.0f}) {
        expected.push_back(RowMessage(MSG_ENCODE_PROGRESS));
        expected.back().Add("fraction", fraction);
    }
    kit::Message& finished = expected.emplace_back(RowMessage(MSG_ENCODE_FINISHED));
    finished.Add("encoded", true);
    finished.Add("stopped", false);
    finished.Add("output", folder.filePath(QStringLiteral("out.mp3")).toStdString());
    finished.Add("reason", std::string());
    finished.Add("status", int32_t{0});
    EXPECT_EQ(receiver.messages, expected);
}

TEST_F(EncodeWorkerTest, AStopEndsTheNamedThreadAndIsReportedAsStopped) {
    FakeGogoOnPath::SetMode("hang");
    EncodeWorker worker;
    ASSERT_TRUE(worker.Start(Job(), messenger));
    ASSERT_TRUE(ProcessEventsUntil([this] { return FakeRunning(); }));
    EXPECT_TRUE(AThreadIsNamed("vamble_thread"));
    EXPECT_FALSE(worker.Start(Job(), messenger)); // one encoder at a time

    worker.RequestStop();
    ASSERT_TRUE(ProcessEventsUntil([this] { return Finished(); }));
    EXPECT_TRUE(worker.Wait(std::chrono::minutes(1)));
    bool stopped = false;
    receiver.messages.back().Find("stopped", &stopped);
    EXPECT_TRUE(stopped);
    EXPECT_FALSE(FakeRunning());
    EXPECT_TRUE(worker.Start(Job(), messenger)); // the next row may start
}

TEST_F(EncodeWorkerTest, AWorkerOutlivingItsWindowPostsNothing) {
    FakeGogoOnPath::SetMode("hang");
    {
        EncodeWorker worker;
        ASSERT_TRUE(worker.Start(Job(), messenger));
        ASSERT_TRUE(ProcessEventsUntil([this] { return FakeRunning(); }));
        messenger->Clear();
        EXPECT_FALSE(messenger->Post(kit::Message(MSG_ENCODE_PROGRESS)));
    } // the destructor stops the encoder
    EXPECT_TRUE(ProcessEventsUntil([this] { return !FakeRunning(); }));
    QCoreApplication::processEvents();
    EXPECT_TRUE(receiver.messages.empty());
}

} // namespace
