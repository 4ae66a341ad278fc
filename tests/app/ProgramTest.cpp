// SPDX-License-Identifier: GPL-3.0-or-later
// Starts the program itself, as a user or the desktop would.
#include "app/AppIdentity.h"
#include "app/VamblePrefs.h"
#include "support/SettingsKeys.h"

#include <QDir>
#include <QFile>
#include <QProcess>
#include <QTemporaryDir>
#include <QThread>
#include <array>
#include <csignal>
#include <fcntl.h>
#include <gtest/gtest.h>
#include <sys/stat.h>
#include <unistd.h>

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

    std::unique_ptr<QProcess> Start(const QStringList& arguments = {},
                                    const QString& program = QStringLiteral(VAMBLE_EXECUTABLE)) {
        auto process = std::make_unique<QProcess>();
        process->setProcessEnvironment(environment);
        process->start(program, arguments);
        EXPECT_TRUE(process->waitForStarted(kTimeoutMs));
        return process;
    }

    // The running program takes later starts' files on a socket in the runtime folder.
    bool WaitUntilListening() {
        const QByteArray socket = QFile::encodeName(home.path() + QStringLiteral("/vamble.socket"));
        for (int i = 0; i < kTimeoutMs / 50; ++i) {
            struct stat status {};
            if (::stat(socket.constData(), &status) == 0 && S_ISSOCK(status.st_mode)) {
                return true;
            }
            QThread::msleep(50);
        }
        return false;
    }

    // Runs the program to its end without any display and gives its standard output.
    QByteArray RunWithoutDisplay(const QStringList& arguments, const char* language = "en") {
        for (const char* name : {"DISPLAY", "WAYLAND_DISPLAY", "QT_QPA_PLATFORM"}) {
            environment.remove(QString::fromLatin1(name));
        }
        environment.insert(QStringLiteral("LANGUAGE"), QString::fromLatin1(language));
        auto program = Start(arguments);
        EXPECT_TRUE(program->waitForFinished(kTimeoutMs));
        EXPECT_EQ(program->exitCode(), 0) << arguments.join(QLatin1Char(' ')).toStdString();
        EXPECT_TRUE(program->readAllStandardError().isEmpty());
        return program->readAllStandardOutput();
    }

    QString SettingsFile() const { return home.path() + QStringLiteral("/config/Xq-Vamble"); }

    QTemporaryDir home;
    QProcessEnvironment environment = QProcessEnvironment::systemEnvironment();
};

} // namespace

TEST_F(ProgramTest, WithoutAUsableDisplayItSaysSoInOneLine) {
    for (const char* name : {"DISPLAY", "WAYLAND_DISPLAY", "QT_QPA_PLATFORM", "XDG_SESSION_TYPE"}) {
        environment.remove(QString::fromLatin1(name));
    }
    // No display at all, then one that names an X server nobody serves.
    for (const QString& display : {QString(), QStringLiteral(":3791")}) {
        if (!display.isEmpty()) {
            environment.insert(QStringLiteral("DISPLAY"), display);
        }
        auto program = Start();
        ASSERT_TRUE(program->waitForFinished(kTimeoutMs));
        EXPECT_EQ(program->exitStatus(), QProcess::NormalExit);
        EXPECT_EQ(program->exitCode(), 1);
        const QString message = QString::fromLocal8Bit(program->readAllStandardError());
        EXPECT_EQ(message.count(QLatin1Char('\n')), 1) << message.toStdString();
        EXPECT_TRUE(message.contains(QStringLiteral("display"))) << message.toStdString();
        EXPECT_TRUE(message.contains(display)) << message.toStdString();
    }
}

TEST_F(ProgramTest, HelpAndVersionAnswerWithoutADisplay) {
    const QByteArray version = QByteArray("vamble ") + kVambleVersion + '\n';
    EXPECT_EQ(RunWithoutDisplay({QStringLiteral("--version")}), version);
    EXPECT_EQ(RunWithoutDisplay({QStringLiteral("song.wav"), QStringLiteral("--version")}),
              version);

    const QByteArray help = RunWithoutDisplay({QStringLiteral("--help")});
    EXPECT_TRUE(help.contains("--version")) << help.toStdString();
    EXPECT_EQ(RunWithoutDisplay({QStringLiteral("-h")}), help);
    const QByteArray german = RunWithoutDisplay({QStringLiteral("--help")}, "de");
    EXPECT_TRUE(german.contains("--version")) << german.toStdString();
    EXPECT_NE(german, help) << "the help follows the desktop's language";
}

TEST_F(ProgramTest, HelpThatCannotBePrintedFails) {
    environment.remove(QStringLiteral("DISPLAY"));
    auto program = std::make_unique<QProcess>();
    program->setProcessEnvironment(environment);
    program->setStandardOutputFile(QStringLiteral("/dev/full"));
    program->start(QStringLiteral(VAMBLE_EXECUTABLE), {QStringLiteral("--help")});
    ASSERT_TRUE(program->waitForFinished(kTimeoutMs));
    EXPECT_EQ(program->exitCode(), 1);
    EXPECT_FALSE(program->readAllStandardError().isEmpty());
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
        EXPECT_EQ(saved.CountNames(), kSettingsKeyCount) << "signal " << signalNumber;
    }
}

TEST_F(ProgramTest, ASecondStartOfAnyCopyOfTheProgramHandsOverAndExits) {
    // The running one is another program file, as an installed copy is to a build tree's.
    const QString copy = home.path() + QStringLiteral("/vamble-copy");
    ASSERT_TRUE(QFile::copy(QStringLiteral(VAMBLE_EXECUTABLE), copy));
    ASSERT_TRUE(QFile::setPermissions(copy, QFile::ReadOwner | QFile::ExeOwner));
    auto first = Start({}, copy);
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

TEST_F(ProgramTest, TwoStartsAtOnceLeaveExactlyOneRunning) {
    // The settings file is a FIFO, so a start that reads it waits there until the test opens the
    // other end: that holds it between looking for a running instance and becoming one.
    ASSERT_TRUE(QDir().mkpath(home.path() + QStringLiteral("/config")));
    ASSERT_EQ(mkfifo(QFile::encodeName(SettingsFile()).constData(), 0600), 0);
    std::array<std::unique_ptr<QProcess>, 2> starts{Start(), Start()};
    QThread::msleep(1000); // both starts get past their look for a running instance
    const int fifo = ::open(QFile::encodeName(SettingsFile()).constData(), O_WRONLY);
    ASSERT_GE(fifo, 0);
    ::close(fifo); // the reader gets an empty settings file

    size_t ended = starts.size();
    for (int i = 0; i < kTimeoutMs / 100 && ended == starts.size(); ++i) {
        for (size_t s = 0; s < starts.size(); ++s) {
            if (starts[s]->waitForFinished(50)) {
                ended = s;
            }
        }
    }
    ASSERT_LT(ended, starts.size()) << "both starts became the running instance";
    EXPECT_EQ(starts[ended]->exitCode(), 0);
    QProcess& running = *starts[1 - ended];
    EXPECT_EQ(running.state(), QProcess::Running);
    ::kill(static_cast<pid_t>(running.processId()), SIGTERM);
    ASSERT_TRUE(running.waitForFinished(kTimeoutMs));
}
