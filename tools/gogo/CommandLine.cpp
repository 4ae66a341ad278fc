// SPDX-License-Identifier: GPL-3.0-or-later
#include "CommandLine.h"

#include <algorithm>
#include <array>
#include <charconv>

namespace gogo {
namespace {

// Every bit rate that MPEG-1, MPEG-2 or MPEG-2.5 layer III can carry.
constexpr std::array kBitrates{8,  16,  24,  32,  40,  48,  56,  64,  80,
                               96, 112, 128, 144, 160, 192, 224, 256, 320};

std::optional<int> ParseNumber(std::string_view text) {
    int value = 0;
    const char* end = text.data() + text.size();
    const auto [next, failure] = std::from_chars(text.data(), end, value);
    if (text.empty() || failure != std::errc() || next != end) {
        return std::nullopt;
    }
    return value;
}

std::optional<ChannelMode> ParseMode(std::string_view text) {
    if (text == "s") {
        return ChannelMode::Stereo;
    }
    if (text == "m") {
        return ChannelMode::Mono;
    }
    if (text == "j") {
        return ChannelMode::JointStereo;
    }
    return std::nullopt;
}

class Parser {
public:
    explicit Parser(std::span<const std::string_view> args) : args_(args) {}

    ParseResult Run() {
        for (index_ = 0; index_ < args_.size() && error_.empty(); ++index_) {
            const std::string_view arg = args_[index_];
            if (arg.starts_with('-')) {
                Option(arg);
            } else {
                FileName(arg);
            }
        }
        if (error_.empty()) {
            CheckRequired();
        }
        if (!error_.empty()) {
            return {std::nullopt, error_};
        }
        return {settings_, {}};
    }

private:
    void Option(std::string_view name) {
        if (name == "-nopsy") {
            Flag(name, seenNoPsy_, settings_.noPsy);
        } else if (name == "-delete") {
            Flag(name, seenDelete_, settings_.deleteInput);
        } else if (name == "-b") {
            Number(name, seenBitrate_, settings_.bitrate,
                   [](int v) { return std::ranges::find(kBitrates, v) != kBitrates.end(); });
        } else if (name == "-cpu") {
            Number(name, seenCpu_, settings_.cpuCount, [](int v) { return v >= 1; });
        } else if (name == "-priority") {
            Number(name, seenPriority_, settings_.priority,
                   [](int v) { return v >= 1 && v <= 10; });
        } else if (name == "-v") {
            int level = 0;
            if (Number(name, seenVbr_, level, [](int v) { return v >= 0 && v <= 9; })) {
                settings_.vbrLevel = level;
            }
        } else if (name == "-m") {
            const std::optional<std::string_view> value = Value(name, seenMode_);
            if (!value) {
                return;
            }
            const std::optional<ChannelMode> mode = ParseMode(*value);
            if (!mode) {
                Fail("-m takes s, m or j, not \"" + std::string(*value) + "\"");
                return;
            }
            settings_.mode = *mode;
        } else {
            Fail("unknown option \"" + std::string(name) + "\"");
        }
    }

    void Flag(std::string_view name, bool& seen, bool& value) {
        if (seen) {
            Fail(std::string(name) + " is given twice");
            return;
        }
        seen = true;
        value = true;
    }

    template <typename Valid>
    bool Number(std::string_view name, bool& seen, int& target, Valid valid) {
        const std::optional<std::string_view> value = Value(name, seen);
        if (!value) {
            return false;
        }
        const std::optional<int> number = ParseNumber(*value);
        if (!number || !valid(*number)) {
            Fail("invalid value \"" + std::string(*value) + "\" for " + std::string(name));
            return false;
        }
        target = *number;
        return true;
    }

    // The word after an option; marks the option as seen.
    std::optional<std::string_view> Value(std::string_view name, bool& seen) {
        if (seen) {
            Fail(std::string(name) + " is given twice");
            return std::nullopt;
        }
        seen = true;
        if (index_ + 1 >= args_.size()) {
            Fail(std::string(name) + " needs a value");
            return std::nullopt;
        }
        return args_[++index_];
    }

    void FileName(std::string_view name) {
        if (name.empty()) {
            Fail("empty file name");
        } else if (settings_.input.empty()) {
            settings_.input = name;
        } else if (settings_.output.empty()) {
            settings_.output = name;
        } else {
            Fail("unexpected argument \"" + std::string(name) + "\"");
        }
    }

    void CheckRequired() {
        if (settings_.input.empty()) {
            Fail("no input file");
        } else if (settings_.output.empty()) {
            Fail("no output file");
        } else if (!seenBitrate_) {
            Fail("-b is missing");
        } else if (!seenCpu_) {
            Fail("-cpu is missing");
        } else if (!seenMode_) {
            Fail("-m is missing");
        } else if (!seenPriority_) {
            Fail("-priority is missing");
        }
    }

    void Fail(std::string message) {
        if (error_.empty()) {
            error_ = std::move(message);
        }
    }

    std::span<const std::string_view> args_;
    std::size_t index_ = 0;
    Settings settings_;
    std::string error_;
    bool seenBitrate_ = false;
    bool seenCpu_ = false;
    bool seenMode_ = false;
    bool seenPriority_ = false;
    bool seenVbr_ = false;
    bool seenNoPsy_ = false;
    bool seenDelete_ = false;
};

} // namespace

ParseResult ParseCommandLine(std::span<const std::string_view> args) {
    return Parser(args).Run();
}

std::string UsageText() {
    return "usage: gogo INPUT.wav OUTPUT.mp3 -b KBPS -cpu N [-v LEVEL] [-nopsy] -m s|m|j "
           "-priority P [-delete]\n"
           "  -b KBPS      constant bit rate in kbit/s (8 to 320)\n"
           "  -cpu N       processors offered (1 or more); the encoder uses one\n"
           "  -v LEVEL     variable bit rate at quality 0 (best) to 9; -b is then ignored\n"
           "  -nopsy       fastest, simplest quantisation (LAME quality 9)\n"
           "  -m s|m|j     stereo, mono (stereo input is mixed down) or joint stereo\n"
           "  -priority P  1 (lowest) to 10 (normal); runs at nice value 2 x (10 - P)\n"
           "  -delete      delete INPUT.wav once OUTPUT.mp3 is completely written\n"
           "The options may come in any order.\n";
}

int NiceValueForPriority(int priority) {
    return 2 * (10 - std::clamp(priority, 1, 10));
}

} // namespace gogo
