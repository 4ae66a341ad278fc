// SPDX-License-Identifier: GPL-3.0-or-later
#include "ColumnListView/BetterScrollView.h"

#include "ColumnListView/CLVColors.h"

#include <algorithm>
#include <cmath>

BetterScrollView::BetterScrollView(kit::View* view, bool horizontal, bool vertical, bool withCorner,
                                   kit::border_style style, QWidget* parent)
    : kit::ScrollView(view, horizontal, vertical, style, parent) {
    if (withCorner && horizontal && vertical) {
        const QRect v = GetScrollBar(kit::B_VERTICAL)->geometry();
        const QRect h = GetScrollBar(kit::B_HORIZONTAL)->geometry();
        cornerView =
            new ScrollViewCorner(static_cast<float>(v.left()), static_cast<float>(h.top()), this);
    }
}

void BetterScrollView::SetDataRect(const kit::Rect& rect, bool scrollingAllowed) {
    dataRect = rect;
    UpdateScrollBars(scrollingAllowed);
}

void BetterScrollView::UpdateScrollBars(bool scrollingAllowed) {
    kit::View* view = Target();
    if (!view) {
        return;
    }
    kit::ScrollBar* horizontal = GetScrollBar(kit::B_HORIZONTAL);
    kit::ScrollBar* vertical = GetScrollBar(kit::B_VERTICAL);
    kit::Rect b = view->Bounds();
    const float vw = b.Width();
    const float vh = b.Height();

    float dw = 0.0f;
    float dh = 0.0f;
    if (!scrollingAllowed) {
        // The extent covers the data and what is shown now, so that nothing moves.
        dw = std::max(dataRect.right, b.right) - std::min(dataRect.left, b.left);
        dh = std::max(dataRect.bottom, b.bottom) - std::min(dataRect.top, b.top);
    } else {
        dw = std::max(dataRect.Width(), vw);
        dh = std::max(dataRect.Height(), vh);
        // Pull the view back into the data.
        const auto shift = [](float dataStart, float extent, float viewStart, float viewEnd) {
            if (viewStart < dataStart) {
                return dataStart - viewStart;
            }
            if (dataStart + extent < viewEnd) {
                return dataStart + extent - viewEnd;
            }
            return 0.0f;
        };
        const float dx = horizontal ? shift(dataRect.left, dw, b.left, b.right) : 0.0f;
        const float dy = vertical ? shift(dataRect.top, dh, b.top, b.bottom) : 0.0f;
        if (dx != 0.0f || dy != 0.0f) {
            view->ScrollTo(kit::Point(b.left + dx, b.top + dy));
            b = view->Bounds();
        }
    }

    const float px = dw > 0.0f ? vw / dw : 1.0f;
    const float py = dh > 0.0f ? vh / dh : 1.0f;
    bool scrollable = false;
    if (horizontal) {
        if (px >= 1.0f) {
            horizontal->SetRange(0.0f, 0.0f);
        } else {
            horizontal->SetRange(std::min(dataRect.left, b.left),
                                 std::max(dataRect.left + dw - vw, b.left));
            horizontal->SetSteps(std::ceil(vw / 20.0f), vw);
            scrollable = true;
        }
        horizontal->SetProportion(px);
    }
    if (vertical) {
        if (py >= 1.0f) {
            vertical->SetRange(0.0f, 0.0f);
        } else {
            vertical->SetRange(std::min(dataRect.top, b.top),
                               std::max(dataRect.top + dh - vh, b.top));
            vertical->SetSteps(std::ceil(vh / 20.0f), vh);
            scrollable = true;
        }
        vertical->SetProportion(py);
    }
    if (cornerView) {
        const kit::Color wanted = scrollable ? ListColors().face : ListColors().inactiveFace;
        if (cornerView->ViewColor() != wanted) {
            cornerView->SetViewColor(wanted);
            cornerView->Invalidate();
        }
    }
}

void BetterScrollView::LayOut() {
    kit::ScrollView::LayOut();
    if (cornerView) {
        const QRect v = GetScrollBar(kit::B_VERTICAL)->geometry();
        const QRect h = GetScrollBar(kit::B_HORIZONTAL)->geometry();
        cornerView->move(v.left() + 1, h.top() + 1);
    }
}

void BetterScrollView::FrameResized(float /*width*/, float /*height*/) {
    UpdateScrollBars(true);
}

void BetterScrollView::showEvent(QShowEvent* e) {
    kit::ScrollView::showEvent(e);
    UpdateScrollBars(false);
}
