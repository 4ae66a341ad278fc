// SPDX-License-Identifier: GPL-3.0-or-later
// What the encoding run's threads report to the run, as typed values that travel to the run's
// thread whole.
#pragma once

#include "encoding/EncodeRun.h"
#include "encoding/RunProgress.h"

#include <cstdint>
#include <functional>
#include <string>
#include <variant>
#include <vector>

// The encoder of a row reported progress.
struct EncodeProgressReport {
    int64_t run = 0;       // the run the worker belongs to; reports of runs that ended are dropped
    int64_t row = 0;       // the identity of the row being encoded
    float fraction = 0.0f; // 0 to 1
};

// The encoding thread of a row has ended.
struct EncodeFinishedReport {
    int64_t run = 0;
    int64_t row = 0;
    EncodeOutcome outcome;
};

// A finished file's tags have been written, or could not be.
struct TagsWrittenReport {
    int64_t run = 0;
    int64_t row = 0;
    // Why the file's tags are missing or incomplete; empty when every tag was written.
    std::string warning;
};

// How long the WAV files of rows of the run play, read from their headers.
struct RowLengthsReport {
    int64_t run = 0;
    std::vector<RunProgress::Row> rows;
};

using RunReport =
    std::variant<EncodeProgressReport, EncodeFinishedReport, TagsWrittenReport, RowLengthsReport>;

// Hands a report to the run on the run's own thread; callable from any thread. Reports handed
// after the run's owner is gone are dropped.
using ReportSink = std::function<void(RunReport)>;
