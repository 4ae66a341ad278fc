#include "EncoderRun.h"

#include "encoding/ProgressLine.h"

#include <algorithm>
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

void EncoderTest::SetUp() {
    ASSERT_TRUE(dir_.isValid());
    input_ = Path("in.wav");
    inputFrames_ = WriteTestWav(input_);
}

std::string EncoderTest::Path(const std::string& name) const {
    return dir_.filePath(QString::fromStdString(name)).toStdString();
}

} // namespace gogotest
