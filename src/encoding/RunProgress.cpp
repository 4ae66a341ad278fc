// SPDX-License-Identifier: GPL-3.0-or-later
#include "encoding/RunProgress.h"

#include <algorithm>
#include <cmath>

RunProgress::RunProgress(const std::vector<Row>& rows, Clock runClock)
    : clock(std::move(runClock)), start(clock()) {
    for (const Row& row : rows) {
        shares.try_emplace(row.id, Share{});
    }
    SetLengths(rows);
}

void RunProgress::SetLengths(const std::vector<Row>& rows) {
    double known = 0.0;
    int knownCount = 0;
    for (const Row& row : rows) {
        if (row.seconds && *row.seconds > 0.0 && shares.contains(row.id)) {
            known += *row.seconds;
            ++knownCount;
        }
    }
    const double average = knownCount > 0 ? known / knownCount : 1.0;
    for (auto& [id, share] : shares) {
        share.weight = average;
    }
    for (const Row& row : rows) {
        const auto found = shares.find(row.id);
        if (found != shares.end() && row.seconds && *row.seconds > 0.0) {
            found->second.weight = *row.seconds;
        }
    }
    total = 0.0;
    encoded = 0.0;
    for (const auto& [id, share] : shares) {
        total += share.weight;
        encoded += share.weight * share.fraction;
    }
    Update();
}

void RunProgress::Progress(int64_t row, double fraction) {
    const auto found = shares.find(row);
    if (found == shares.end() || std::isnan(fraction)) {
        return;
    }
    Share& share = found->second;
    const double clamped = std::clamp(fraction, share.fraction, 1.0);
    if (clamped == 1.0 && share.fraction < 1.0) {
        ++complete;
    }
    encoded += (clamped - share.fraction) * share.weight;
    share.fraction = clamped;
    Update();
}

bool RunProgress::RowLeft(int64_t row) {
    const auto found = shares.find(row);
    if (found == shares.end()) {
        return false;
    }
    total -= found->second.weight;
    encoded -= found->second.weight * found->second.fraction;
    if (found->second.fraction == 1.0) {
        --complete;
    }
    shares.erase(found);
    Update();
    return true;
}

void RunProgress::Update() {
    // Sums of many small steps drift; a run whose rows are all whole is whole.
    if (complete == shares.size()) {
        encoded = total;
    }
    const double fraction = total > 0.0 ? std::clamp(encoded / total, 0.0, 1.0) : 1.0;
    shown = std::max(shown, fraction);
}

std::optional<std::chrono::seconds> RunProgress::TimeLeft() const {
    const std::chrono::duration<double> elapsed = clock() - start;
    if (encoded <= 0.0 || elapsed.count() <= 0.0) {
        return std::nullopt;
    }
    const double rest = std::max(total - encoded, 0.0);
    return std::chrono::seconds(std::llround(rest * elapsed.count() / encoded));
}
