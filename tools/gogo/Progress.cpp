// SPDX-License-Identifier: GPL-3.0-or-later
#include "Progress.h"

#include <algorithm>
#include <cmath>
#include <cstdio>
#include <poll.h>
#include <unistd.h>

namespace gogo {

std::string FormatClock(double seconds) {
    constexpr long kMaxHundredths = ((99L * 60 + 59) * 60 + 59) * 100 + 99;
    long hundredths = 0;
    if (std::isfinite(seconds) && seconds > 0) {
        hundredths = static_cast<long>(std::min(seconds * 100.0, double(kMaxHundredths)));
    } else if (seconds > 0) {
        hundredths = kMaxHundredths;
    }
    char text[32];
    std::snprintf(text, sizeof text, "%02ld:%02ld:%02ld.%02ld", hundredths / 360000,
                  hundredths / 6000 % 60, hundredths / 100 % 60, hundredths % 100);
    return text;
}

std::string FormatProgressLine(long framesDone, long framesTotal, double percent,
                               double remainingSeconds, double totalSeconds) {
    char text[128];
    std::snprintf(text, sizeof text, "{%ld/%ld}  %5.1f%% re:[%s]to:[%s]\r", framesDone, framesTotal,
                  percent, FormatClock(remainingSeconds).c_str(),
                  FormatClock(totalSeconds).c_str());
    return text;
}

ProgressReporter::ProgressReporter(Sink sink, Clock clock)
    : sink_(std::move(sink)), clock_(std::move(clock)) {}

void WriteIfReady(int fd, std::string_view line) {
    // A pipe with room takes a line this short whole, without waiting.
    pollfd ready{fd, POLLOUT, 0};
    if (poll(&ready, 1, 0) == 1 && ready.revents == POLLOUT) {
        [[maybe_unused]] const ssize_t written = write(fd, line.data(), line.size());
    }
}

void ProgressReporter::Update(long framesDone, long framesTotal, double fraction) {
    const double clamped = std::isfinite(fraction) ? std::clamp(fraction, 0.0, 1.0) : 0.0;
    const int tenths = std::min(static_cast<int>(clamped * 1000.0), 999);
    if (tenths != shownTenths_) {
        Write(framesDone, framesTotal, tenths);
    }
}

void ProgressReporter::Finish(long frames) {
    Write(frames, frames, 1000);
}

void ProgressReporter::Write(long framesDone, long framesTotal, int tenths) {
    shownTenths_ = tenths;
    const double elapsed = clock_();
    const double total = tenths > 0 ? elapsed * 1000.0 / tenths : 0.0;
    sink_(FormatProgressLine(framesDone, std::max(framesDone, framesTotal), tenths / 10.0,
                             total - elapsed, total));
}

} // namespace gogo
