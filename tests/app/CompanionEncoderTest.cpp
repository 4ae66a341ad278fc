// SPDX-License-Identifier: GPL-3.0-or-later
#include "app/CompanionEncoder.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <cstdlib>
#include <gtest/gtest.h>
#include <optional>
#include <string>

namespace {

const QByteArray kDir = "/opt/vamble/libexec/vamble";

TEST(CompanionEncoder, TheBuiltEncoderLiesWhereTheProgramLooksForIt) {
    const QFileInfo expected(CompanionEncoderDir(QStringLiteral(VAMBLE_TEST_BUILD_BIN_DIR)) +
                             QStringLiteral("/gogo"));
    ASSERT_TRUE(expected.isExecutable()) << expected.filePath().toStdString();
    EXPECT_EQ(expected.canonicalFilePath(),
              QFileInfo(QStringLiteral(VAMBLE_TEST_GOGO)).canonicalFilePath());
}

TEST(CompanionEncoder, InstalledItIsFoundInTheProgramsLibexecFolder) {
    EXPECT_EQ(CompanionEncoderDir(QStringLiteral(VAMBLE_TEST_INSTALL_BIN_DIR)),
              QStringLiteral(VAMBLE_TEST_INSTALL_LIBEXEC_DIR "/vamble"));
}

TEST(CompanionEncoder, ItsFolderComesLastInTheSearchPath) {
    EXPECT_EQ(SearchPathWithFallback("/usr/local/bin:/usr/bin", kDir),
              "/usr/local/bin:/usr/bin:" + kDir);
    // An empty element means the current folder; it stays where it was.
    EXPECT_EQ(SearchPathWithFallback("/usr/bin:", kDir), "/usr/bin::" + kDir);
    EXPECT_EQ(SearchPathWithFallback("", kDir), ":" + kDir);
}

TEST(CompanionEncoder, AnUnsetSearchPathBecomesTheSystemDefaultPlusItsFolder) {
    const QByteArray path = SearchPathWithFallback(nullptr, kDir);
    EXPECT_TRUE(path.endsWith(':' + kDir)) << path.constData();
    EXPECT_TRUE(path.split(':').contains("/usr/bin")) << path.constData();
}

TEST(CompanionEncoder, TheSearchPathIsLeftAloneWhenTheFolderCannotBeAddedOrIsThere) {
    const QByteArray path = "/usr/bin:" + kDir + ":/bin";
    EXPECT_EQ(SearchPathWithFallback(path.constData(), kDir), path);
    EXPECT_EQ(SearchPathWithFallback("/usr/bin", "/odd:folder"), "/usr/bin");
    EXPECT_EQ(SearchPathWithFallback("/usr/bin", QByteArray()), "/usr/bin");
}

class PathVariable : public ::testing::Test {
protected:
    void SetUp() override {
        if (const char* path = std::getenv("PATH")) {
            saved_ = path;
        }
    }
    void TearDown() override {
        if (saved_) {
            setenv("PATH", saved_->c_str(), 1);
        } else {
            unsetenv("PATH");
        }
    }

private:
    std::optional<std::string> saved_;
};

TEST_F(PathVariable, StartUpAppendsTheFolderBesideTheRunningProgramOnce) {
    setenv("PATH", "/usr/local/bin:/usr/bin", 1);
    ASSERT_TRUE(AppendCompanionEncoderToPath());
    ASSERT_TRUE(AppendCompanionEncoderToPath());

    const QString programDir =
        QFileInfo(QFile::symLinkTarget(QStringLiteral("/proc/self/exe"))).path();
    const QByteArray expected =
        "/usr/local/bin:/usr/bin:" + QFile::encodeName(CompanionEncoderDir(programDir));
    EXPECT_EQ(QByteArray(std::getenv("PATH")), expected);
}

} // namespace
