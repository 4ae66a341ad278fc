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
    EncodeWorker worker;
    ASSERT_TRUE(worker.Start(Job(), messenger));
    ASSERT_TRUE(ProcessEventsUntil([this] { return Finished(); }));
    EXPECT_TRUE(worker.Wait(std::chrono::minutes(1)));

    std::vector<float> fractions;
    for (const kit::Message& message : receiver.messages) {
        int64_t run = 0;
        int64_t row = 0;
        EXPECT_EQ(message.Find("run", &run), kit::B_OK);
        EXPECT_EQ(message.Find("row", &row), kit::B_OK);
        EXPECT_EQ(run, 7);
        EXPECT_EQ(row, 42);
        float fraction = -1.0f;
        if (message.what == MSG_ENCODE_PROGRESS &&
            message.Find("fraction", &fraction) == kit::B_OK) {
            fractions.push_back(fraction);
        }
    }
    EXPECT_EQ(fractions, (std::vector<float>{0.0f, 0.25f, 0.5f, 0.75f, 1.0f}));
    const kit::Message& finished = receiver.messages.back();
    bool encoded = false;
    bool stopped = true;
    std::string output;
    std::string reason = "?";
    int32_t status = -1;
    finished.Find("encoded", &encoded);
    finished.Find("stopped", &stopped);
    finished.Find("output", &output);
    finished.Find("reason", &reason);
    finished.Find("status", &status);
    EXPECT_TRUE(encoded);
    EXPECT_FALSE(stopped);
    EXPECT_EQ(output, folder.filePath(QStringLiteral("out.mp3")).toStdString());
    EXPECT_EQ(reason, "");
    EXPECT_EQ(status, 0);
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
