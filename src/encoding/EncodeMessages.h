// SPDX-License-Identifier: GPL-3.0-or-later
// What the encoding run's threads report to the window, as typed values beside their message
// codes: each value makes its own message and reads itself back from one, so that every field's
// name and type is spelled in one place.
#pragma once

#include "encoding/EncodeRun.h"
#include "kit/FourCC.h"
#include "kit/Message.h"

#include <cstdint>
#include <optional>
#include <string>

// The encoder of a row reported progress.
inline constexpr uint32_t MSG_ENCODE_PROGRESS = kit::FourCC("EPrg");
// The encoding thread of a row has ended.
inline constexpr uint32_t MSG_ENCODE_FINISHED = kit::FourCC("EFin");
// A finished file's tags have been written, or could not be.
inline constexpr uint32_t MSG_TAGS_WRITTEN = kit::FourCC("ETag");

struct EncodeProgressReport {
    int64_t run = 0;       // the run the worker belongs to; reports of runs that ended are dropped
    int64_t row = 0;       // the identity of the row being encoded
    float fraction = 0.0f; // 0 to 1

    [[nodiscard]] kit::Message ToMessage() const;
    static std::optional<EncodeProgressReport> From(const kit::Message& message);
};

struct EncodeFinishedReport {
    int64_t run = 0;
    int64_t row = 0;
    EncodeOutcome outcome;

    [[nodiscard]] kit::Message ToMessage() const;
    static std::optional<EncodeFinishedReport> From(const kit::Message& message);
};

struct TagsWrittenReport {
    int64_t run = 0;
    int64_t row = 0;
    // Why the file's tags are missing or incomplete; empty when every tag was written.
    std::string warning;

    [[nodiscard]] kit::Message ToMessage() const;
    static std::optional<TagsWrittenReport> From(const kit::Message& message);
};
