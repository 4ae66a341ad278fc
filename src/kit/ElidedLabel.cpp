// SPDX-License-Identifier: GPL-3.0-or-later
#include "kit/ElidedLabel.h"

#include <QPainter>
#include <QStyle>

namespace kit {

ElidedLabel::ElidedLabel(const QString& text, int minimum, QWidget* parent)
    : QLabel(text, parent), minimumWidth(minimum) {
    setSizePolicy(QSizePolicy::Ignored, QSizePolicy::Preferred);
}

void ElidedLabel::setText(const QString& text) {
    QLabel::setText(text);
    DescribeWholeText();
}

QSize ElidedLabel::sizeHint() const {
    return {minimumWidth, QLabel::sizeHint().height()};
}

QSize ElidedLabel::minimumSizeHint() const {
    return {minimumWidth, QLabel::minimumSizeHint().height()};
}

void ElidedLabel::paintEvent(QPaintEvent* /*event*/) {
    QPainter painter(this);
    const QRect area = contentsRect();
    const QString shown = fontMetrics().elidedText(text(), Qt::ElideRight, area.width());
    style()->drawItemText(&painter, area, static_cast<int>(alignment()), palette(), isEnabled(),
                          shown, foregroundRole());
}

void ElidedLabel::resizeEvent(QResizeEvent* event) {
    QLabel::resizeEvent(event);
    DescribeWholeText();
}

void ElidedLabel::DescribeWholeText() {
    const bool cut = fontMetrics().horizontalAdvance(text()) > contentsRect().width();
    const QString whole = cut ? text() : QString();
    if (toolTip() != whole) {
        setToolTip(whole);
        setAccessibleDescription(whole);
    }
}

} // namespace kit
