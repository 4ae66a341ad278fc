// Feeds arbitrary lines to the progress scan. It must never read past the line's end, and it
// returns either the previous value unchanged or a finite percentage that does not depend on the
// previous value.
#include "encoding/ProgressLine.h"

#include <cmath>
#include <cstdlib>
#include <string>

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    const std::string line(reinterpret_cast<const char*>(data), size); // ends at its first NUL
    const float first = ScanProgressPercent(line.c_str(), -1.0f);
    const float second = ScanProgressPercent(line.c_str(), -2.0f);
    if (first == -1.0f) {
        if (second != -2.0f) {
            std::abort();
        }
    } else if (!std::isfinite(first) || first != second) {
        std::abort();
    }
    return 0;
}
