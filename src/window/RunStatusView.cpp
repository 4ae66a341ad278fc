// SPDX-License-Identifier: GPL-3.0-or-later
#include "window/RunStatusView.h"

#include <QHBoxLayout>
#include <algorithm>
#include <cmath>

QString WindowTitle(std::optional<double> runFraction) {
    if (!runFraction) {
        return QStringLiteral("Vamble");
    }
    // Whole percents, rounded down: 100% only once everything is done.
    const auto percent = static_cast<int>(std::floor(std::clamp(*runFraction, 0.0, 1.0) * 100.0));
    return QStringLiteral("%1% — Vamble").arg(percent);
}

QString TimeLeftText(std::chrono::seconds left) {
    const auto total = std::max<long long>(left.count(), 0);
    const long long hours = total / 3600;
    const long long minutes = total / 60 % 60;
    const long long seconds = total % 60;
    const auto twoDigits = [](long long n) {
        return QStringLiteral("%1").arg(n, 2, 10, QLatin1Char('0'));
    };
    return hours > 0 ? RunStatusView::tr("Time left: %1:%2:%3")
                           .arg(QString::number(hours), twoDigits(minutes), twoDigits(seconds))
                     : RunStatusView::tr("Time left: %1:%2")
                           .arg(QString::number(minutes), twoDigits(seconds));
}

RunStatusView::RunStatusView(QWidget* parent)
    : QWidget(parent), bar(new kit::ProgressBar), timeLeft(new QLabel) {
    bar->setAccessibleName(RunStatusView::tr("Whole run"));
    bar->setFormat(RunStatusView::tr("All files: %p%"));
    bar->setTextVisible(true);
    // Without a name of its own, a screen reader reads the label's text: the time itself.
    timeLeft->setAlignment(Qt::AlignRight | Qt::AlignVCenter);
    // Room for the longest usual text, so the bar does not jump as the text comes and changes.
    timeLeft->setMinimumWidth(timeLeft->fontMetrics().horizontalAdvance(
        TimeLeftText(std::chrono::hours(9) + std::chrono::minutes(59))));

    auto* layout = new QHBoxLayout(this);
    layout->setContentsMargins(0, 0, 0, 0);
    layout->addWidget(bar, 1);
    layout->addWidget(timeLeft);
    Reset();
}

void RunStatusView::ShowProgress(double fraction, std::optional<std::chrono::seconds> left) {
    bar->SetFraction(static_cast<float>(fraction));
    timeLeft->setText(left ? TimeLeftText(*left) : QString());
    show();
}

void RunStatusView::Reset() {
    hide();
    bar->SetFraction(0.0f);
    timeLeft->clear();
}
