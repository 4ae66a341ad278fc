// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <QWidget>

namespace kit {

// The size hints a layout honours for one widget: minimum and maximum size and a stretch weight.
// A negative value leaves that hint to the widget.
struct Minimax {
    float minWidth = -1.0f;
    float minHeight = -1.0f;
    float maxWidth = -1.0f;
    float maxHeight = -1.0f;
    float weight = 1.0f;

    bool operator==(const Minimax&) const = default;
};

// Hands the hints to the widget as its minimum and maximum sizes and its stretch factors.
void ApplyMinimax(QWidget* widget, const Minimax& hints);

} // namespace kit
