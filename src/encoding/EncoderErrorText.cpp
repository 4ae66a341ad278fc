// SPDX-License-Identifier: GPL-3.0-or-later
#include "encoding/EncoderErrorText.h"

#include <algorithm>

static_assert(EncoderErrorText::kTailLength >= EncoderErrorText::kCompletionMarker.size(),
              "the tail must hold a marker that arrives in pieces");

void EncoderErrorText::Feed(std::string_view block) {
    // Search only from where a marker cut by the previous block could begin.
    const size_t from = tail.size() - std::min(tail.size(), kCompletionMarker.size() - 1);
    tail.append(block);
    if (!sawMarker && tail.find(kCompletionMarker, from) != std::string::npos) {
        sawMarker = true;
    }
    if (tail.size() > kTailLength) {
        tail.erase(0, tail.size() - kTailLength);
    }
}

std::string EncoderErrorText::LastMessage() const {
    constexpr std::string_view kLineEnds = "\n\r";
    constexpr std::string_view kBlanks = " \t\n\r";
    const std::string_view text(tail);
    const size_t lineEnd = text.find_last_not_of(kBlanks);
    if (lineEnd == std::string_view::npos) {
        return {};
    }
    const size_t previousEnd = text.find_last_of(kLineEnds, lineEnd);
    const size_t lineStart = previousEnd == std::string_view::npos ? 0 : previousEnd + 1;
    const std::string_view line = text.substr(lineStart, lineEnd + 1 - lineStart);
    if (line == kCompletionMarker.substr(0, kCompletionMarker.size() - 1)) {
        return {};
    }
    return std::string(line);
}
