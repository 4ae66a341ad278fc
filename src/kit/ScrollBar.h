// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include "kit/View.h"

#include <QPointer>
#include <QScrollBar>

namespace kit {

// A scroll bar that scrolls its target view: its value is the target's scroll position in one
// direction. The range, the steps and the proportion (the visible share of the whole, which
// sizes the knob) are set by whoever knows the target's content.
class ScrollBar : public QScrollBar {
public:
    ScrollBar(kit::orientation o, View* view, QWidget* parent = nullptr);
    ~ScrollBar() override;
    ScrollBar(const ScrollBar&) = delete;
    ScrollBar& operator=(const ScrollBar&) = delete;

    kit::orientation Orientation() const { return direction; }
    View* Target() const { return target; }

    // Values outside a new range are pulled into it, which scrolls the target.
    void SetRange(float min, float max);
    void GetRange(float* min, float* max) const;
    // The distances of an arrow click and of a click beside the knob.
    void SetSteps(float smallValue, float bigValue);
    void GetSteps(float* smallValue, float* bigValue) const;
    void SetProportion(float value);
    float Proportion() const { return proportion; }
    // Scrolls the target to the value.
    void SetValue(float value);
    float Value() const { return static_cast<float>(value()); }

    // Shows the target's new scroll position without scrolling it again.
    void SyncValue(float value);

private:
    void ScrollTarget(int value);

    kit::orientation direction;
    QPointer<View> target;
    float rangeMin = 0.0f;
    float rangeMax = 0.0f;
    float smallStep = 1.0f;
    float bigStep = 10.0f;
    float proportion = 0.0f;
};

} // namespace kit
