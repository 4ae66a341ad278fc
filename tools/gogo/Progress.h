// SPDX-License-Identifier: GPL-3.0-or-later
// Progress lines on standard output, in the form a front end scans after removing spaces:
//   {frames done/frames total}  PP.P% re:[hh:mm:ss.cc]to:[hh:mm:ss.cc]
// each ended by a carriage return. "re" is the estimated time remaining, "to" the estimated
// time of the whole encoding.
#pragma once

#include <functional>
#include <string>
#include <string_view>

namespace gogo {

// A duration as hh:mm:ss.cc (hundredths), at most 99:59:59.99; negative durations show as zero.
std::string FormatClock(double seconds);

// One progress line, carriage return included.
std::string FormatProgressLine(long framesDone, long framesTotal, double percent,
                               double remainingSeconds, double totalSeconds);

// Writes the line to the descriptor if it takes it at once, and drops it otherwise: progress is
// only for show, and a reader that went away or stopped reading must not stop the encoding.
void WriteIfReady(int fd, std::string_view line);

// Writes a progress line whenever the shown percentage (in tenths) changes, so a front end
// sees every percent, and a last line of 100.0% when encoding is finished.
class ProgressReporter {
public:
    using Sink = std::function<void(std::string_view line)>;
    using Clock = std::function<double()>; // seconds since encoding began

    ProgressReporter(Sink sink, Clock clock);

    // fraction: the part of the input read so far, 0 to 1. Before Finish the line never shows
    // 100.0%.
    void Update(long framesDone, long framesTotal, double fraction);
    void Finish(long frames);

private:
    void Write(long framesDone, long framesTotal, int tenths);

    Sink sink_;
    Clock clock_;
    int shownTenths_ = -1;
};

} // namespace gogo
