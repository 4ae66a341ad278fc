// SPDX-License-Identifier: GPL-3.0-or-later
// The progress of a whole encoding run, weighted by how long each file plays, and the time the
// rest will take at the speed so far.
#pragma once

#include <chrono>
#include <cstddef>
#include <cstdint>
#include <functional>
#include <optional>
#include <unordered_map>
#include <vector>

class RunProgress {
public:
    using Clock = std::function<std::chrono::steady_clock::time_point()>;

    struct Row {
        int64_t id = 0;
        // Playing time in seconds; nothing when the file's header could not be read.
        std::optional<double> seconds;
    };

    // The run starts now, by the clock. A row of unknown length counts as long as the known
    // ones are on average; with none known, every row counts alike.
    explicit RunProgress(const std::vector<Row>& rows,
                         Clock clock = std::chrono::steady_clock::now);

    // A row joins the run (added to the list while it goes): the part done may go back. False
    // when it was in the run.
    bool Join(int64_t row);

    // The lengths of the rows, learnt after the run started: the rows weigh by them from now on.
    // Rows not in the run are ignored, and so are lengths that are unknown.
    void SetLengths(const std::vector<Row>& rows);

    // The part of the row encoded so far, 0 to 1; a row's part never goes back. Rows not in the
    // run are ignored.
    void Progress(int64_t row, double fraction);
    // The row is encoded whole.
    void RowDone(int64_t row) { Progress(row, 1.0); }
    // The row leaves the run unencoded (removed, held back): the rest no longer waits for it.
    // False when it was not in the run.
    bool RowLeft(int64_t row);

    // The part of the whole run done, 0 to 1; it goes back only when a row joins, not when one
    // leaves.
    double Fraction() const { return shown; }
    // The time the rest will take at the speed so far; nothing before anything was encoded.
    std::optional<std::chrono::seconds> TimeLeft() const;

private:
    struct Share {
        std::optional<double> seconds;
        double weight = 0.0;
        double fraction = 0.0;
    };
    // Weighs each row by its length, those of unknown length by the average of the known.
    void Reweigh();
    double CurrentFraction();
    void Update();

    Clock clock;
    std::chrono::steady_clock::time_point start;
    std::unordered_map<int64_t, Share> shares;
    double total = 0.0;
    double encoded = 0.0;
    double shown = 0.0;
    // Rows encoded whole.
    std::size_t complete = 0;
};
