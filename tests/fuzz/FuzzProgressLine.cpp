// SPDX-License-Identifier: GPL-3.0-or-later
// Feeds arbitrary lines to the progress scan. It must never read past the line's end, and it
// returns either the previous value unchanged or a finite percentage that does not depend on the
// previous value.
#include "encoding/ProgressLine.h"

#include <cmath>
#include <cstdlib>
#include <limits>
#include <string>

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    const std::string line(reinterpret_cast<const char*>(data), size); // ends at its first NUL
    // No scanned percentage is NaN, so a NaN result means the previous value was kept.
    const float first = ScanProgressPercent(line.c_str(), std::numeric_limits<float>::quiet_NaN());
    const float second = ScanProgressPercent(line.c_str(), 5.0f);
    if (std::isnan(first) ? second != 5.0f : !std::isfinite(first) || first != second) {
        std::abort();
    }
    return 0;
}
