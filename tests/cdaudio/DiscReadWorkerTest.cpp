#include "cdaudio/DiscReadWorker.h"

#include "DiscImage.h"
#include "kit/MessageEvent.h"

#include <QCoreApplication>
#include <QDeadlineTimer>
#include <QTemporaryDir>
#include <gtest/gtest.h>

namespace {

// Collects the worker's messages as a window receives them.
class Receiver : public QObject, public kit::Handler {
public:
    void MessageReceived(kit::Message* message) override { messages.push_back(*message); }
    bool event(QEvent* e) override {
        return kit::DeliverMessageEvent(e, this) || QObject::event(e);
    }

    // Handles events until the done message; false when it did not come within a minute.
    bool WaitForDone() {
        for (const QDeadlineTimer deadline(60000); !deadline.hasExpired();) {
            QCoreApplication::processEvents(QEventLoop::AllEvents, 50);
            if (!messages.empty() && messages.back().what == MSG_CD_READ_DONE) {
                return true;
            }
        }
        return false;
    }

    std::vector<kit::Message> messages;
};

template <class T> T Field(const kit::Message& message, const char* name) {
    T value{};
    EXPECT_EQ(message.Find(name, &value), kit::B_OK) << name;
    return value;
}

TEST(DiscReadWorkerTest, ReportsProgressAndTheResultByMessagesOfItsRun) {
    QTemporaryDir dir;
    const std::filesystem::path root = dir.path().toStdString();
    const DiscImage image = WriteDiscImage(root, {160, 150}, "Someone", "Something");
    Receiver receiver;
    DiscReadWorker worker(&receiver);

    const int32_t run = worker.Start(image.cue.string(), root / "cache");
    ASSERT_TRUE(receiver.WaitForDone());
    EXPECT_FALSE(worker.IsRunning());
    ASSERT_GE(receiver.messages.size(), 2U);
    for (const kit::Message& message : receiver.messages) {
        EXPECT_EQ(Field<int32_t>(message, "run"), run);
    }
    const kit::Message& progress = receiver.messages.front();
    EXPECT_EQ(progress.what, MSG_CD_READ_PROGRESS);
    EXPECT_EQ(Field<int32_t>(progress, "track"), 1);
    EXPECT_EQ(Field<int32_t>(progress, "count"), 2);
    const kit::Message done = receiver.messages.back();
    EXPECT_EQ(Field<std::string>(done, "Volume"), "Someone - Something");
    EXPECT_EQ(Field<std::string>(done, "error"), "");
    EXPECT_FALSE(Field<bool>(done, "stopped"));
    EXPECT_TRUE(std::filesystem::exists(Field<std::string>(done, "Folder") + "/Track 02.wav"));

    // The next run has a number of its own and finds the disc read.
    receiver.messages.clear();
    const int32_t next = worker.Start(image.cue.string(), root / "cache");
    EXPECT_NE(next, run);
    ASSERT_TRUE(receiver.WaitForDone());
    ASSERT_EQ(receiver.messages.size(), 1U);
    EXPECT_EQ(Field<std::string>(receiver.messages[0], "Folder"),
              Field<std::string>(done, "Folder"));
}

} // namespace
