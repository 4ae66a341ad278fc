#include "kit/Minimax.h"

#include <cmath>

namespace kit {

void ApplyMinimax(QWidget* widget, const Minimax& hints) {
    const auto pixels = [](float v) { return static_cast<int>(std::ceil(v)); };
    if (hints.minWidth >= 0.0f) {
        widget->setMinimumWidth(pixels(hints.minWidth));
    }
    if (hints.minHeight >= 0.0f) {
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
