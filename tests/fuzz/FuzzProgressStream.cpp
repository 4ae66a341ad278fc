// SPDX-License-Identifier: GPL-3.0-or-later
// Feeds arbitrary encoder output to the progress stream, cut at a point the input chooses. It
// must not crash, and the cut must not change the percentages read.
#include "encoding/ProgressStream.h"

#include <cstdlib>
#include <string>
#include <vector>

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    if (size == 0) {
        return 0;
    }
    std::string output(reinterpret_cast<const char*>(data) + 1, size - 1);
    RemoveNullChars(output.data(), static_cast<int32_t>(output.size()));
    const size_t cut = data[0] % (output.size() + 1);

    ProgressStream whole;
    const std::vector<float> once = whole.Feed(output);
    ProgressStream pieces;
    std::vector<float> twice = pieces.Feed(std::string_view(output).substr(0, cut));
    const std::vector<float> rest = pieces.Feed(std::string_view(output).substr(cut));
    twice.insert(twice.end(), rest.begin(), rest.end());
    if (once != twice) {
        std::abort();
    }
    return 0;
}
