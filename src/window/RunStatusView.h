// SPDX-License-Identifier: GPL-3.0-or-later
// The whole run at a glance, beside the bar of the file being encoded: a bar for the part of
// the run done and the time the rest will take. Hidden while no run goes on.
#pragma once

#include "kit/Layout.h"

#include <QLabel>
#include <QString>
#include <QWidget>
#include <chrono>
#include <optional>

// The window's title: "Vamble", or while a run goes on its whole percentage first, as
// "37% — Vamble".
QString WindowTitle(std::optional<double> runFraction = std::nullopt);
// The time left as "Time left: 2:05", or with hours "Time left: 1:02:05".
QString TimeLeftText(std::chrono::seconds left);

class RunStatusView : public QWidget {
    Q_OBJECT

public:
    explicit RunStatusView(QWidget* parent = nullptr);

    // Shows the part of the run done and, when there is an estimate, the time left.
    void ShowProgress(double fraction, std::optional<std::chrono::seconds> left);
    // Hides the view: no run goes on.
    void Reset();

    [[nodiscard]] const kit::ProgressBar* Bar() const { return bar; }
    [[nodiscard]] const QLabel* TimeLeft() const { return timeLeft; }

private:
    kit::ProgressBar* bar;
    QLabel* timeLeft;
};
