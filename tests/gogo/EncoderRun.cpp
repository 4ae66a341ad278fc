// SPDX-License-Identifier: GPL-3.0-or-later
#include "EncoderRun.h"

#include "Mp3Stream.h"
#include "encoding/ProgressLine.h"

#include <algorithm>
#include <cstdlib>
#include <filesystem>

namespace gogotest {

std::vector<std::string> GogoCommand(const std::string& in, const std::string& out,
                                     const std::vector<std::string>& options) {
    std::vector<std::string> command{GOGO_PATH, in, out};
    command.insert(command.end(), options.begin(), options.end());
    return command;
}

std::vector<float> Percentages(const std::string& out) {
    std::vector<float> percentages;
    std::size_t start = 0;
    for (std::size_t end = out.find('\r'); end != std::string::npos;
         start = end + 1, end = out.find('\r', start)) {
        std::string line = out.substr(start, end - start);
        std::erase(line, ' ');
        if (line.starts_with('{')) {
            percentages.push_back(ScanProgressPercent(line.c_str(), -1.0f));
        }
    }
    return percentages;
}

std::vector<std::string> FolderContents(const std::string& folder) {
    std::vector<std::string> names;
    for (const auto& entry : std::filesystem::directory_iterator(folder)) {
        names.push_back(entry.path().filename());
    }
    std::ranges::sort(names);
    return names;
}

ChildOptions WithoutUnnamedFiles() {
    ChildOptions options;
    const char* asan = std::getenv("ASAN_OPTIONS");
    // A sanitized encoder would refuse to start with another library loaded before its runtime.
    options.environment = {std::string("LD_PRELOAD=") + NO_TMPFILE_SHIM,
                           std::string("ASAN_OPTIONS=") + (asan ? asan : "") +
                               ":verify_asan_link_order=0"};
    return options;
}

ChildOptions AsNobody(const std::string& folder, std::vector<std::string>& command) {
    namespace fs = std::filesystem;
    const auto copy = [&folder](const fs::path& from) {
        const fs::path to = fs::path(folder) / from.filename();
        fs::copy_file(from, to, fs::copy_options::overwrite_existing);
        fs::permissions(to, fs::perms::owner_all | fs::perms::group_read | fs::perms::group_exec |
                                fs::perms::others_read | fs::perms::others_exec);
        return to.string();
    };
    command.front() = copy(command.front());
    ChildOptions options;
    options.user = 65534;
    // LSAN_OPTIONS=...:suppressions=PATH:... names a file the child reads when it starts.
    const std::string leakOptions = std::getenv("LSAN_OPTIONS") ? std::getenv("LSAN_OPTIONS") : "";
    const std::string key = "suppressions=";
    if (const std::size_t at = leakOptions.find(key); at != std::string::npos) {
        const std::size_t start = at + key.size();
        const std::size_t end = std::min(leakOptions.find(':', start), leakOptions.size());
        options.environment.push_back("LSAN_OPTIONS=" + leakOptions.substr(0, start) +
                                      copy(leakOptions.substr(start, end - start)) +
                                      leakOptions.substr(end));
    }
    return options;
}

void ExpectSameFileAsLame(const std::string& input, const std::vector<std::string>& ours,
                          const std::vector<std::string>& lame) {
    const std::string folder = std::filesystem::path(input).parent_path();
    const std::string ourFile = folder + "/ours.mp3";
    const std::string lameFile = folder + "/lame.mp3";
    const RunResult run = RunProgram(GogoCommand(input, ourFile, ours));
    ASSERT_TRUE(run.Succeeded()) << run.err;
    std::vector<std::string> command{"lame", "--quiet"};
    command.insert(command.end(), lame.begin(), lame.end());
    command.insert(command.end(), {input, lameFile});
    const RunResult reference = RunProgram(command);
    ASSERT_TRUE(reference.Succeeded()) << reference.err;

    const std::vector<unsigned char> a = ReadFile(ourFile);
    const std::vector<unsigned char> b = ReadFile(lameFile);
    const std::vector<Mp3Frame> framesA = ParseFrames(a);
    const std::vector<Mp3Frame> framesB = ParseFrames(b);
    ASSERT_GT(framesA.size(), 1u);
    ASSERT_GT(framesB.size(), 1u);
    // The audio frames first, for a shorter message where they differ; then the LAME tag too.
    const auto audio = [](const std::vector<unsigned char>& data, const Mp3Frame& second) {
        return std::vector<unsigned char>(data.begin() + static_cast<std::ptrdiff_t>(second.offset),
                                          data.end());
    };
    ASSERT_EQ(audio(a, framesA[1]), audio(b, framesB[1]));
    EXPECT_EQ(a, b);
}

void EncoderTest::SetUp() {
    ASSERT_TRUE(dir_.isValid());
    input_ = Path("in.wav");
    inputFrames_ = WriteTestWav(input_);
}

std::string EncoderTest::Path(const std::string& name) const {
    return dir_.filePath(QString::fromStdString(name)).toStdString();
}

} // namespace gogotest
