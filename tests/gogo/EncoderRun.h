// SPDX-License-Identifier: GPL-3.0-or-later
// Shared helpers of the tests that run the built encoder: a temporary folder with a test WAV,
// the command line, and what other programs make of the result.
#pragma once

#include "ChildProcess.h"
#include "TestAudio.h"

#include <QTemporaryDir>
#include <gtest/gtest.h>
#include <string>
#include <vector>

namespace gogotest {

// The command the program builds, with the options in its order: -b, -cpu, -v, -nopsy, -m,
// -priority, -delete.
std::vector<std::string> GogoCommand(const std::string& in, const std::string& out,
                                     const std::vector<std::string>& options);

// The percentages of the progress lines on standard output, read as the program reads them.
std::vector<float> Percentages(const std::string& out);

// The names in a folder, sorted.
std::vector<std::string> FolderContents(const std::string& folder);

// Options that run the encoder as on a file system without unnamed files (vfat, exFAT), where it
// writes under a hidden temporary name.
ChildOptions WithoutUnnamedFiles();

// Options that run the child as the unprivileged user nobody where the test runs as root. That
// user may not reach the build tree (a checkout in a folder only its owner may enter): the
// encoder and the leak checker's suppressions file are copied into `folder`, which the caller
// has made reachable, and `command` is changed to run the copy.
ChildOptions AsNobody(const std::string& folder, std::vector<std::string>& command);

// Encodes `input` with our options and with lame's, and expects the same file from both.
void ExpectSameFileAsLame(const std::string& input, const std::vector<std::string>& ours,
                          const std::vector<std::string>& lame);

class EncoderTest : public ::testing::Test {
protected:
    void SetUp() override;
    std::string Path(const std::string& name) const;

    QTemporaryDir dir_;
    std::string input_; // a one-second stereo 16-bit WAV
    std::int64_t inputFrames_ = 0;
};

} // namespace gogotest
