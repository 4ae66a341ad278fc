// SPDX-License-Identifier: GPL-3.0-or-later
#include "kit/ScrollBar.h"

#include <QSignalBlocker>
#include <cmath>

namespace kit {

namespace {

int Whole(float v) {
    return static_cast<int>(std::lround(v));
}

} // namespace

ScrollBar::ScrollBar(kit::orientation o, View* view, QWidget* parent)
    : QScrollBar(o == B_HORIZONTAL ? Qt::Horizontal : Qt::Vertical, parent), direction(o),
      target(view) {
    setRange(0, 0);
    // The keyboard stays with the target.
    setFocusPolicy(Qt::NoFocus);
    connect(this, &QScrollBar::valueChanged, this, &ScrollBar::ScrollTarget);
    if (target) {
        target->SetScrollBar(direction, this);
    }
}

ScrollBar::~ScrollBar() {
    if (target && target->ScrollBarFor(direction) == this) {
        target->SetScrollBar(direction, nullptr);
    }
}

void ScrollBar::SetRange(float min, float max) {
    rangeMin = min;
    rangeMax = std::max(min, max);
    setRange(Whole(rangeMin), Whole(rangeMax));
}

void ScrollBar::GetRange(float* min, float* max) const {
    *min = rangeMin;
    *max = rangeMax;
}

void ScrollBar::SetSteps(float smallValue, float bigValue) {
    smallStep = smallValue;
    bigStep = bigValue;
    setSingleStep(std::max(1, Whole(smallStep)));
    setPageStep(std::max(1, Whole(bigStep)));
}

void ScrollBar::GetSteps(float* smallValue, float* bigValue) const {
    *smallValue = smallStep;
    *bigValue = bigStep;
}

void ScrollBar::SetProportion(float value) {
    proportion = value;
}

void ScrollBar::SetValue(float v) {
    setValue(Whole(v));
}

void ScrollBar::SyncValue(float v) {
    const QSignalBlocker blocker(this);
    setValue(Whole(v));
}

void ScrollBar::ScrollTarget(int v) {
    if (!target) {
        return;
    }
    const Point at = target->ScrollPosition();
    target->ScrollTo(direction == B_HORIZONTAL ? Point(static_cast<float>(v), at.y)
                                               : Point(at.x, static_cast<float>(v)));
}

} // namespace kit
