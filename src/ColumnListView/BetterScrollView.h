// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include "ColumnListView/ScrollViewCorner.h"
#include "kit/ScrollView.h"

// A scroll view whose bars follow a data rectangle that the target supplies (its content in its
// own coordinates) rather than the target's size: ranges, steps and proportions come from the
// data rectangle and the visible bounds, and when the data shrinks the target is scrolled back
// so that no empty space shows.
class BetterScrollView : public kit::ScrollView {
public:
    // With `withCorner` and both bars, a ScrollViewCorner fills the square between the bars.
    BetterScrollView(kit::View* view, bool horizontal, bool vertical, bool withCorner,
                     kit::border_style style, QWidget* parent = nullptr);

    // Stores the rectangle and updates the bars; without `scrollingAllowed` the target stays
    // where it is and the ranges grow to include its position.
    virtual void SetDataRect(const kit::Rect& rect, bool scrollingAllowed = true);
    kit::Rect GetDataRect() const { return dataRect; }
    void UpdateScrollBars(bool scrollingAllowed);

    ScrollViewCorner* Corner() const { return cornerView; }

protected:
    void LayOut() override;
    void FrameResized(float width, float height) override;
    void showEvent(QShowEvent* e) override;

private:
    kit::Rect dataRect{-1.0f, -1.0f, -1.0f, -1.0f};
    ScrollViewCorner* cornerView = nullptr;
};
