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

bool RunProgress::Join(int64_t row) {
    if (!shares.try_emplace(row, Share{}).second) {
        return false;
    }
    Reweigh();
    // More is left to do: the part done goes back.
    shown = CurrentFraction();
    return true;
}

void RunProgress::SetLengths(const std::vector<Row>& rows) {
    for (const Row& row : rows) {
        const auto found = shares.find(row.id);
        if (found != shares.end() && row.seconds && *row.seconds > 0.0) {
            found->second.seconds = row.seconds;
        }
    }
    Reweigh();
}

void RunProgress::Reweigh() {
    double known = 0.0;
    int knownCount = 0;
    for (const auto& [id, share] : shares) {
        if (share.seconds) {
            known += *share.seconds;
            ++knownCount;
        }
    }
    const double average = knownCount > 0 ? known / knownCount : 1.0;
    total = 0.0;
    encoded = 0.0;
    for (auto& [id, share] : shares) {
        share.weight = share.seconds.value_or(average);
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

double RunProgress::CurrentFraction() {
    // Sums of many small steps drift; a run whose rows are all whole is whole.
    if (complete == shares.size()) {
        encoded = total;
    }
    return total > 0.0 ? std::clamp(encoded / total, 0.0, 1.0) : 1.0;
}

void RunProgress::Update() {
    shown = std::max(shown, CurrentFraction());
}

std::optional<std::chrono::seconds> RunProgress::TimeLeft() const {
    const std::chrono::duration<double> elapsed = clock() - start;
    if (encoded <= 0.0 || elapsed.count() <= 0.0) {
        return std::nullopt;
    }
    const double rest = std::max(total - encoded, 0.0);
    return std::chrono::seconds(std::llround(rest * elapsed.count() / encoded));
}
