// SPDX-License-Identifier: GPL-3.0-or-later
// Cutting the encoder's standard output into progress lines.
#pragma once

#include <cstdint>
#include <string>
#include <string_view>
#include <vector>

// Replaces every NUL byte among the first `length` bytes of `buffer` with a space, so that a
// NUL in the encoder's output does not cut the text.
void RemoveNullChars(char* buffer, int32_t length);

// Follows the encoder's standard output block by block, however the blocks are cut. Spaces are
// removed and the text is split at carriage returns; a line that begins with "{" is read with
// ScanProgressPercent. What follows the last carriage return waits for the next block.
class ProgressStream {
public:
    // Takes the next block (its NUL bytes already replaced, see RemoveNullChars) and returns the
    // percentage of each progress line it completes, in order. A line whose percentage cannot be
    // read repeats the previous line's value (0 before the first).
    std::vector<float> Feed(std::string_view block);

    // Only the start of a line matters to the scan, so a line keeps at most this many
    // characters; the rest up to its carriage return is dropped. This bounds the memory an
    // encoder that never writes a carriage return can take.
    static constexpr size_t kMaxLineLength = 1024;

private:
    std::string pending;
    float percent = 0.0f;
};
