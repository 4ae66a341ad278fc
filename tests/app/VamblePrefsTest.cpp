// SPDX-License-Identifier: GPL-3.0-or-later
#include "app/VamblePrefs.h"

#include <QDir>
#include <QFile>
#include <QStandardPaths>
#include <QTemporaryDir>
#include <algorithm>
#include <gtest/gtest.h>
#include <memory>
#include <sys/stat.h>
#include <sys/wait.h>
#include <unistd.h>

namespace {

// Each test gets its own settings folder, given as XDG_CONFIG_HOME.
class VamblePrefsTest : public ::testing::Test {
protected:
    void SetUp() override {
        ASSERT_TRUE(root.isValid());
        configFolder = root.path() + QStringLiteral("/config");
        qputenv("XDG_CONFIG_HOME", QFile::encodeName(configFolder));
    }

    QString SettingsFile() const { return configFolder + QStringLiteral("/Xq-Vamble"); }

    void WriteSettingsFile(const QByteArray& bytes) const {
        QDir().mkpath(configFolder);
        QFile file(SettingsFile());
        ASSERT_TRUE(file.open(QIODevice::WriteOnly));
        file.write(bytes);
    }

    QByteArray ReadSettingsFile() const {
        QFile file(SettingsFile());
        return file.open(QIODevice::ReadOnly) ? file.readAll() : QByteArray();
    }

    QTemporaryDir root;
    QString configFolder;
};

} // namespace

TEST_F(VamblePrefsTest, SetReturnsTheStoredValueAndKeepsTheNewOne) {
    VamblePrefs prefs("Xq-Vamble");
    EXPECT_EQ(prefs.SetInt32("Bits", 128), 128) << "a missing key takes the given value";
    EXPECT_EQ(prefs.SetInt32("Bits", 192), 128) << "an existing key answers with its value";
    EXPECT_EQ(prefs.SetInt32("Bits", 64), 192) << "and keeps the new one";

    EXPECT_EQ(prefs.SetRect("WindowRect", kit::Rect(1, 2, 3, 4)), kit::Rect(1, 2, 3, 4));
    EXPECT_EQ(prefs.SetRect("WindowRect", kit::Rect()), kit::Rect(1, 2, 3, 4));
    EXPECT_EQ(prefs.SetString("OutputDir", "/a"), "/a");
    EXPECT_EQ(prefs.SetString("OutputDir", "/b"), "/a");
    EXPECT_EQ(prefs.SetPoint("p", kit::Point(1, 2)), kit::Point(1, 2));
    EXPECT_EQ(prefs.SetDouble("d", 0.5), 0.5);
    EXPECT_EQ(prefs.SetFloat("f", 0.25f), 0.25f);
    EXPECT_EQ(prefs.SetInt64("l", 1LL << 40), 1LL << 40);
    EXPECT_EQ(prefs.SetInt16("s", -7), -7);
    EXPECT_EQ(prefs.SetInt8("b", 1), 1);
    EXPECT_TRUE(prefs.SetBool("t", true));
    EXPECT_EQ(prefs.SetMessage("m", kit::Message(kit::FourCC("nest"))), kit::B_OK);
    EXPECT_EQ(prefs.SetMessage("m", kit::Message(kit::FourCC("next"))), kit::B_OK);
    kit::Message nested;
    ASSERT_EQ(prefs.Find("m", &nested), kit::B_OK);
    EXPECT_EQ(nested.what, kit::FourCC("next"));
}

TEST_F(VamblePrefsTest, AKeyOfAnotherTypeIsNeitherFoundNorReplaced) {
    VamblePrefs prefs("Xq-Vamble");
    prefs.SetInt32("VBRState", 1);
    EXPECT_EQ(prefs.SetInt8("VBRState", 0), 0) << "the caller gets its default";
    int32_t stored = 0;
    ASSERT_EQ(prefs.Find("VBRState", &stored), kit::B_OK);
    EXPECT_EQ(stored, 1) << "the key keeps its old content";
}

TEST_F(VamblePrefsTest, GetStringStoresNothing) {
    VamblePrefs prefs("Xq-Vamble");
    EXPECT_EQ(prefs.GetString("OutputDir", "fallback"), "fallback");
    EXPECT_TRUE(prefs.IsEmpty());
    prefs.SetString("OutputDir", "/music");
    EXPECT_EQ(prefs.GetString("OutputDir", "fallback"), "/music");
}

TEST_F(VamblePrefsTest, SettingsSurviveARunAndTheFolderIsCreated) {
    ASSERT_FALSE(QDir(configFolder).exists());
    {
        VamblePrefs prefs("Xq-Vamble");
        EXPECT_EQ(QString::fromStdString(prefs.SettingsPath().string()), SettingsFile());
        prefs.SetInt32("Bits", 320);
        prefs.SetString("outPutFileName", "%a/%c/%t-%s");
        prefs.SetRect("WindowRect", kit::Rect(10, 20, 410, 420));
    }
    ASSERT_TRUE(QFile::exists(SettingsFile()));
    VamblePrefs again("Xq-Vamble");
    EXPECT_EQ(again.SetInt32("Bits", 128), 320);
    EXPECT_EQ(again.GetString("outPutFileName", ""), "%a/%c/%t-%s");
    EXPECT_EQ(again.SetRect("WindowRect", kit::Rect()), kit::Rect(10, 20, 410, 420));
}

TEST_F(VamblePrefsTest, BytesAfterTheArchiveAreIgnored) {
    kit::Message stored(kit::FourCC("pref"));
    stored.Add<int32_t>("Bits", 96);
    // What a file written in place over a longer, older archive looks like.
    WriteSettingsFile(stored.Flatten() + QByteArray(500, '\x5a'));
    VamblePrefs prefs("Xq-Vamble");
    EXPECT_EQ(prefs.SetInt32("Bits", 128), 96);
}

TEST_F(VamblePrefsTest, AShorterArchiveReplacesALongerFileWhole) {
    WriteSettingsFile(QByteArray(4096, '\x9f'));
    {
        VamblePrefs prefs("Xq-Vamble");
        prefs.SetInt8("nopsy", 1);
    }
    VamblePrefs again("Xq-Vamble");
    EXPECT_EQ(again.SetInt8("nopsy", 0), 1);
    EXPECT_LT(ReadSettingsFile().size(), 100);
}

TEST_F(VamblePrefsTest, DamagedOrForeignFilesGiveAnEmptyStore) {
    kit::Message foreign(kit::FourCC("othr"));
    foreign.Add<int32_t>("Bits", 96);
    kit::Message good(kit::FourCC("pref"));
    good.Add<int32_t>("Bits", 96);
    const QByteArray archive = good.Flatten();
    for (const QByteArray& contents :
         {QByteArray(), QByteArray("#!/bin/sh\necho hello\n"), archive.left(archive.size() - 3),
          foreign.Flatten(), QByteArray(100000, '\xff')}) {
        WriteSettingsFile(contents);
        VamblePrefs prefs("Xq-Vamble");
        EXPECT_TRUE(prefs.IsEmpty());
        EXPECT_EQ(prefs.what, kit::FourCC("pref"));
        EXPECT_EQ(prefs.SetInt32("Bits", 128), 128);
    }
}

TEST_F(VamblePrefsTest, AReadOnlyFolderStillLetsTheWritableFileBeReplacedInPlace) {
    {
        VamblePrefs prefs("Xq-Vamble");
        prefs.SetInt32("Bits", 160);
    }
    // No temporary file can be made beside the settings file, but the file itself is writable.
    ASSERT_EQ(chmod(QFile::encodeName(root.path()).constData(), 0755), 0);
    ASSERT_EQ(chmod(QFile::encodeName(SettingsFile()).constData(), 0666), 0);
    ASSERT_EQ(chmod(QFile::encodeName(configFolder).constData(), 0555), 0);

    // The write is tried in a child process; as root, the child gives up its privileges first,
    // since the folder's permissions do not stop root.
    const pid_t child = fork();
    ASSERT_GE(child, 0);
    if (child == 0) {
        if (geteuid() == 0 && (setgid(65534) != 0 || setuid(65534) != 0)) {
            _exit(3);
        }
        {
            VamblePrefs prefs("Xq-Vamble");
            prefs.SetInt32("Bits", 64);
        }
        _exit(0);
    }
    int status = 0;
    ASSERT_EQ(waitpid(child, &status, 0), child);
    chmod(QFile::encodeName(configFolder).constData(), 0755);
    ASSERT_TRUE(WIFEXITED(status));
    if (WEXITSTATUS(status) == 3) {
        GTEST_SKIP() << "running as root where root privileges cannot be dropped";
    }
    ASSERT_EQ(WEXITSTATUS(status), 0);
    VamblePrefs again("Xq-Vamble");
    EXPECT_EQ(again.SetInt32("Bits", 128), 64);
}

TEST_F(VamblePrefsTest, SettingsThatCannotBeWrittenAreReportedWithThePath) {
    ASSERT_TRUE(QDir().mkpath(SettingsFile())); // a folder where the file belongs
    testing::internal::CaptureStderr();
    {
        VamblePrefs prefs("Xq-Vamble");
        prefs.SetInt32("Bits", 64);
    }
    const std::string message = testing::internal::GetCapturedStderr();
    EXPECT_NE(message.find(SettingsFile().toStdString()), std::string::npos) << message;
    EXPECT_EQ(std::count(message.begin(), message.end(), '\n'), 1) << message;
}
