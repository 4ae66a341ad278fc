// SPDX-License-Identifier: GPL-3.0-or-later
// Feeds arbitrary commands to the splitter. It must not crash or leak; it succeeds exactly when
// the command's double quotes pair up; and a command without double quotes splits into the same
// words as cutting it at runs of blanks.
#include "process/ux_proc.h"

#include <algorithm>
#include <cstdlib>
#include <string>
#include <vector>

namespace {

std::vector<std::string> SplitAtBlanks(const std::string& command) {
    std::vector<std::string> words;
    size_t at = command.find_first_not_of(" \t");
    while (at != std::string::npos) {
        const size_t end = command.find_first_of(" \t", at);
        words.push_back(command.substr(at, end - at));
        at = command.find_first_not_of(" \t", end);
    }
    if (words.empty()) {
        words.emplace_back(); // an empty command is one empty word
    }
    return words;
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    const std::string command(reinterpret_cast<const char*>(data), size);
    const char* text = command.c_str(); // the splitter sees the text up to its first NUL
    const std::string visible(text);
    const auto quotes = std::count(visible.begin(), visible.end(), '"');

    int argc = -1;
    char** argv = nullptr;
    const int result = ux_malloc_argv_from_command(text, &argc, &argv);
    if (result != (quotes % 2 == 0 ? UX_OK : UX_UNCLOSED_QUOTE)) {
        std::abort();
    }
    if (result != UX_OK) {
        if (argc != 0 || argv != nullptr) {
            std::abort();
        }
        return 0;
    }
    if (argc < 1 || argv[argc] != nullptr) {
        std::abort();
    }
    if (quotes == 0 && std::vector<std::string>(argv, argv + argc) != SplitAtBlanks(visible)) {
        std::abort();
    }
    ux_free_argv(argv);
    return 0;
}
