// SPDX-License-Identifier: GPL-3.0-or-later
#include "encoding/ProgressStream.h"

#include "encoding/ProgressLine.h"

void RemoveNullChars(char* buffer, int32_t length) {
    for (int32_t i = 0; i < length; ++i) {
        if (buffer[i] == '\0') {
            buffer[i] = ' ';
        }
    }
}

std::vector<float> ProgressStream::Feed(std::string_view block) {
    std::vector<float> percents;
    for (const char c : block) {
        if (c == ' ') {
            continue;
        }
        if (c != '\r') {
            if (pending.size() < kMaxLineLength) {
                pending.push_back(c);
            }
            continue;
        }
        if (!pending.empty() && pending.front() == '{') {
            percent = ScanProgressPercent(pending.c_str(), percent);
            percents.push_back(percent);
        }
        pending.clear();
    }
    return percents;
}
