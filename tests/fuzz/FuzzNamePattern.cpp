// SPDX-License-Identifier: GPL-3.0-or-later
// Feeds arbitrary patterns, tag bytes (texts without terminators included), Save As texts and
// track numbers to the output-name expansion. A pattern without "%" must come back unchanged, no
// expansion may grow beyond what its codes can insert, the folder levels are exactly those the
// pattern writes, and no component that a code wrote into is "." or "..".
#include "filelist/NamePattern.h"

#include <algorithm>
#include <cstdlib>
#include <fuzzer/FuzzedDataProvider.h>
#include <string_view>
#include <vector>

namespace {

// The parts of the pattern between the "/" it writes itself; a "/" right after "%" is consumed
// by that code.
std::vector<std::string_view> PatternComponents(std::string_view pattern) {
    std::vector<std::string_view> components;
    size_t start = 0;
    for (size_t i = 0; i < pattern.size(); ++i) {
        if (pattern[i] == '%') {
            ++i;
        } else if (pattern[i] == '/') {
            components.push_back(pattern.substr(start, i - start));
            start = i + 1;
        }
    }
    components.push_back(pattern.substr(start));
    return components;
}

std::vector<std::string_view> Components(std::string_view text) {
    std::vector<std::string_view> components;
    size_t start = 0;
    for (size_t slash = text.find('/'); slash != std::string_view::npos;
         slash = text.find('/', start)) {
        components.push_back(text.substr(start, slash - start));
        start = slash + 1;
    }
    components.push_back(text.substr(start));
    return components;
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    FuzzedDataProvider input(data, size);
    ID3_struct tag{};
    input.ConsumeData(&tag, sizeof tag);
    const auto track = input.ConsumeIntegral<int32_t>();
    const std::string saveAs = input.ConsumeRandomLengthString(200);
    const std::string pattern = input.ConsumeRemainingBytesAsString();

    const std::string result = ExpandNamePattern(pattern, tag, track, saveAs);

    if (pattern.find('%') == std::string::npos && result != pattern) {
        std::abort();
    }
    // A code takes two bytes of the pattern and inserts at most a field, the Save As text or a
    // track of ten digits.
    const size_t widest = std::max<size_t>(30, saveAs.size());
    if (result.size() > pattern.size() * widest) {
        std::abort();
    }
    const std::vector<std::string_view> written = PatternComponents(pattern);
    const std::vector<std::string_view> expanded = Components(result);
    if (written.size() != expanded.size()) {
        std::abort();
    }
    for (size_t i = 0; i < expanded.size(); ++i) {
        const bool dots = expanded[i] == "." || expanded[i] == "..";
        if (dots && written[i].find('%') != std::string_view::npos) {
            std::abort();
        }
    }
    return 0;
}
