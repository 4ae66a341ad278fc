// SPDX-License-Identifier: GPL-3.0-or-later
// The encoder's command line: two file names and the options that choose how to encode.
#pragma once

#include <optional>
#include <span>
#include <string>
#include <string_view>

namespace gogo {

enum class ChannelMode { Stereo, Mono, JointStereo };

struct Settings {
    std::string input;
    std::string output;
    int bitrate = 0;             // kbit/s, constant bit rate; ignored when vbrLevel is set
    int cpuCount = 1;            // accepted for compatibility; encoding uses one processor
    std::optional<int> vbrLevel; // 0 (best) to 9
    bool noPsy = false;
    ChannelMode mode = ChannelMode::Stereo;
    int priority = 10; // 1 (lowest) to 10 (normal)
    bool deleteInput = false;
};

struct ParseResult {
    std::optional<Settings> settings; // set when the command line was valid
    std::string error;                // what was wrong otherwise
};

// Reads the arguments that follow the program name. The two file names come first and second
// among the words that are not options; options may come in any order, each at most once.
ParseResult ParseCommandLine(std::span<const std::string_view> args);

// The usage message printed with a command-line error.
std::string UsageText();

// The nice value the process runs at for a priority of 1 (lowest) to 10 (normal).
int NiceValueForPriority(int priority);

} // namespace gogo
