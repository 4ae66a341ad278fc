// SPDX-License-Identifier: GPL-3.0-or-later
#include "kit/Minimax.h"

#include <cmath>

namespace kit {

void ApplyMinimax(QWidget* widget, const Minimax& hints) {
    const auto pixels = [](float v) { return static_cast<int>(std::ceil(v)); };
    // A minimum below what the widget's contents need is left to the widget: a fixed minimum
    // would override its own (which grows once the style is applied) and squash the contents.
    const QSize needed = widget->minimumSizeHint();
    if (hints.minWidth >= 0.0f && pixels(hints.minWidth) > needed.width()) {
        widget->setMinimumWidth(pixels(hints.minWidth));
    }
    if (hints.minHeight >= 0.0f && pixels(hints.minHeight) > needed.height()) {
        widget->setMinimumHeight(pixels(hints.minHeight));
    }
    if (hints.maxWidth >= 0.0f) {
        widget->setMaximumWidth(pixels(hints.maxWidth));
    }
    if (hints.maxHeight >= 0.0f) {
        widget->setMaximumHeight(pixels(hints.maxHeight));
    }
    if (hints.weight >= 0.0f) {
        QSizePolicy policy = widget->sizePolicy();
        policy.setHorizontalStretch(pixels(hints.weight));
        policy.setVerticalStretch(pixels(hints.weight));
        widget->setSizePolicy(policy);
    }
}

} // namespace kit
