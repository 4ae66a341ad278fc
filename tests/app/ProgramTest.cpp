// Starts the program itself, as a user or the desktop would.
#include "app/VamblePrefs.h"

#include <QDir>
#include <QFile>
#include <QProcess>
#include <QTemporaryDir>
#include <QThread>
#include <csignal>
#include <gtest/gtest.h>

namespace {

constexpr int kTimeoutMs = 30000;

class ProgramTest : public ::testing::Test {
protected:
    void SetUp() override {
        ASSERT_TRUE(home.isValid());
        environment.insert(QStringLiteral("HOME"), home.path());
        environment.insert(QStringLiteral("XDG_CONFIG_HOME"),
                           home.path() + QStringLiteral("/config"));
        environment.insert(QStringLiteral("XDG_RUNTIME_DIR"), home.path());
        environment.insert(QStringLiteral("QT_QPA_PLATFORM"), QStringLiteral("offscreen"));
    }

    std::unique_ptr<QProcess> Start(const QStringList& arguments = {}) {
        auto process = std::make_unique<QProcess>();
        process->setProcessEnvironment(environment);
        process->start(QStringLiteral(VAMBLE_EXECUTABLE), arguments);
        EXPECT_TRUE(process->waitForStarted(kTimeoutMs));
        return process;
    }

    // The running program listens for later starts once its window is up.
    bool WaitUntilListening() {
        for (int i = 0; i < kTimeoutMs / 50; ++i) {
            if (!QDir(home.path())
                     .entryList({QStringLiteral("vamble-*")}, QDir::System)
                     .isEmpty()) {
                return true;
            }
            QThread::msleep(50);
        }
        return false;
    }

    QString SettingsFile() const { return home.path() + QStringLiteral("/config/Xq-Vamble"); }

    QTemporaryDir home;
    QProcessEnvironment environment = QProcessEnvironment::systemEnvironment();
};

} // namespace

TEST_F(ProgramTest, WithoutADisplayItSaysSoInOneLine) {
    for (const char* name : {"DISPLAY", "WAYLAND_DISPLAY", "QT_QPA_PLATFORM"}) {
        environment.remove(QString::fromLatin1(name));
    }
    auto program = Start();
    ASSERT_TRUE(program->waitForFinished(kTimeoutMs));
    EXPECT_EQ(program->exitCode(), 1);
    const QString message = QString::fromLocal8Bit(program->readAllStandardError());
    EXPECT_EQ(message.count(QLatin1Char('\n')), 1) << message.toStdString();
    EXPECT_TRUE(message.contains(QStringLiteral("display")));
}

TEST_F(ProgramTest, TerminationClosesTheWindowAndSavesTheSettings) {
    for (int signalNumber : {SIGTERM, SIGINT}) {
        QFile::remove(SettingsFile());
        auto program = Start();
        ASSERT_TRUE(WaitUntilListening());
        ::kill(static_cast<pid_t>(program->processId()), signalNumber);
        ASSERT_TRUE(program->waitForFinished(kTimeoutMs));
        EXPECT_EQ(program->exitStatus(), QProcess::NormalExit);
        EXPECT_EQ(program->exitCode(), 0);
        EXPECT_TRUE(program->readAllStandardOutput().contains("Quit Requested.\n"));
        qputenv("XDG_CONFIG_HOME", QFile::encodeName(home.path() + QStringLiteral("/config")));
        VamblePrefs saved("Xq-Vamble");
        EXPECT_EQ(saved.CountNames(), 17) << "signal " << signalNumber;
    }
}

TEST_F(ProgramTest, ASecondStartHandsOverAndExits) {
    auto first = Start();
    ASSERT_TRUE(WaitUntilListening());
    auto second = Start({QStringLiteral("song.wav")});
    ASSERT_TRUE(second->waitForFinished(kTimeoutMs));
    EXPECT_EQ(second->exitCode(), 0);
    EXPECT_EQ(first->state(), QProcess::Running);
    EXPECT_FALSE(QFile::exists(SettingsFile())) << "the second start wrote no settings";
    ::kill(static_cast<pid_t>(first->processId()), SIGTERM);
    ASSERT_TRUE(first->waitForFinished(kTimeoutMs));
    EXPECT_EQ(first->exitCode(), 0);
}
