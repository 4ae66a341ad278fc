// SPDX-License-Identifier: GPL-3.0-or-later
// What the encoder writes on its standard error, followed as it arrives.
#pragma once

#include <string>
#include <string_view>

// Watches for the completion marker "End of encoding\n", which counts wherever it appears, even
// when it arrives in pieces, and keeps the last few KiB for diagnostics and for the reason of a
// failure. Memory stays bounded however much the encoder writes.
class EncoderErrorText {
public:
    static constexpr std::string_view kCompletionMarker = "End of encoding\n";
    static constexpr size_t kTailLength = 4096;

    void Feed(std::string_view block);

    bool SawCompletionMarker() const { return sawMarker; }
    // The last kTailLength bytes received.
    const std::string& Tail() const { return tail; }
    // The encoder's last message: the last non-empty line of the tail without its trailing
    // blanks; empty when there is none or when it is the completion marker's line.
    std::string LastMessage() const;

private:
    std::string tail;
    bool sawMarker = false;
};
