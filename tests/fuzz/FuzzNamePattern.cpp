// Feeds arbitrary patterns, tag bytes (texts without terminators included), Save As texts and
// track numbers to the output-name expansion. A pattern without "%" must come back unchanged, and
// no expansion may grow beyond what its codes can insert.
#include "filelist/NamePattern.h"

#include <algorithm>
#include <cstdlib>
#include <fuzzer/FuzzedDataProvider.h>

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
    return 0;
}
