// SPDX-License-Identifier: GPL-3.0-or-later
#include "encoding/ProgressLine.h"

#include <clocale>
#include <cmath>
#include <cstdio>

namespace {

// sscanf follows the thread's numeric locale; the encoder always writes a full stop.
locale_t CNumericLocale() {
    static const locale_t locale = newlocale(LC_NUMERIC_MASK, "C", nullptr);
    return locale;
}

} // namespace

float ScanProgressPercent(const char* line, float previous) {
    if (line == nullptr || line[0] != '{') {
        return previous;
    }
    long framesDone = 0;
    long framesTotal = 0;
    float percent = 0.0f;
    int remaining[4] = {};
    int total[4] = {};
    const locale_t saved = uselocale(CNumericLocale());
    const int fields =
        std::sscanf(line, "{%ld/%ld}%fre:[%02d:%02d:%02d.%02d]to:[%02d:%02d:%02d.%02d]",
                    &framesDone, &framesTotal, &percent, &remaining[0], &remaining[1],
                    &remaining[2], &remaining[3], &total[0], &total[1], &total[2], &total[3]);
    uselocale(saved);
    if (fields < 3 || !std::isfinite(percent)) {
        return previous;
    }
    return percent;
}
