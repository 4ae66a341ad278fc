// SPDX-License-Identifier: GPL-3.0-or-later
#include "encoding/ProgressLine.h"

#include <QProcess>
#include <QTemporaryDir>
#include <clocale>
#include <cstdio>
#include <cstdlib>
#include <gtest/gtest.h>

namespace {

TEST(ProgressLine, ReadsThePercentageOfACompleteLine) {
    EXPECT_FLOAT_EQ(ScanProgressPercent("{120/4521}2.6%re:[00:00:03.12]to:[00:01:59.40]\r", 0.0f),
                    2.6f);
    EXPECT_FLOAT_EQ(ScanProgressPercent("{4521/4521}100.0%re:[00:00:00.00]to:[00:01:59.40]", 7.0f),
                    100.0f);
}

TEST(ProgressLine, ScanningStopsAtTheFirstMismatchAfterThePercentage) {
    EXPECT_FLOAT_EQ(ScanProgressPercent("{1/2}50.0", 0.0f), 50.0f);
    EXPECT_FLOAT_EQ(ScanProgressPercent("{1/2}50.0%garbage", 0.0f), 50.0f);
    EXPECT_FLOAT_EQ(ScanProgressPercent("{1/2}50.0re:[xx", 0.0f), 50.0f);
    EXPECT_FLOAT_EQ(ScanProgressPercent("{1/2}5e1%", 0.0f), 50.0f); // as %f reads numbers
}

TEST(ProgressLine, KeepsThePreviousValueWhenThePercentageIsNotRead) {
    for (const char* line : {"", "50.0%", "x{1/2}50.0", "{", "{1/2}", "{1/2}%", "{1/2}re:[",
                             "{a/2}50", "{1/b}50", "{1-2}50", "{1/2)50", "{1/2}.%"}) {
        EXPECT_FLOAT_EQ(ScanProgressPercent(line, 42.5f), 42.5f) << '"' << line << '"';
    }
    EXPECT_FLOAT_EQ(ScanProgressPercent(nullptr, 3.0f), 3.0f);
}

TEST(ProgressLine, KeepsThePreviousValueForAPercentageThatIsNoNumber) {
    for (const char* line : {"{1/2}nan%", "{1/2}inf%", "{1/2}-infinity", "{1/2}1e999%"}) {
        EXPECT_FLOAT_EQ(ScanProgressPercent(line, 12.0f), 12.0f) << line;
    }
}

// A Qt program takes its locale from the environment; in German the decimal separator is a
// comma, and a locale-bound scan would read "2.6" as 2.
TEST(ProgressLine, ReadsAFullStopAsDecimalPointInAnyLocale) {
    QTemporaryDir locales;
    ASSERT_TRUE(locales.isValid());
    const QString name = QStringLiteral("de_DE.UTF-8");
    if (QProcess::execute(QStringLiteral("localedef"),
                          {QStringLiteral("-i"), QStringLiteral("de_DE"), QStringLiteral("-f"),
                           QStringLiteral("UTF-8"), locales.filePath(name)}) != 0) {
        GTEST_SKIP() << "localedef cannot build a German locale here";
    }
    setenv("LOCPATH", locales.path().toLocal8Bit().constData(), 1);
    const char* previous = std::setlocale(LC_NUMERIC, nullptr);
    const std::string saved = previous ? previous : "C";
    ASSERT_NE(std::setlocale(LC_NUMERIC, "de_DE.UTF-8"), nullptr);
    float commaRead = 0.0f;
    std::sscanf("2,6", "%f", &commaRead); // proves the locale is in force

    const float percent = ScanProgressPercent("{120/4521}2.6%re:[00:00:03.12]", 0.0f);

    std::setlocale(LC_NUMERIC, saved.c_str());
    unsetenv("LOCPATH");
    EXPECT_FLOAT_EQ(commaRead, 2.6f);
    EXPECT_FLOAT_EQ(percent, 2.6f);
}

} // namespace
