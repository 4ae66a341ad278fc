// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include "ColumnListView/BetterScrollView.h"
#include "kit/Minimax.h"

class ColumnListView;

// The scroll container a ColumnListView makes for itself: the header above the list, the scroll
// bars and the corner, placed in a window's layout like any other widget with the size hints
// handed to it. Deleting the container deletes the list in it, and deleting the list deletes
// its container.
class CLVContainerView : public BetterScrollView {
public:
    CLVContainerView(ColumnListView* target, bool horizontal, bool vertical, bool corner,
                     kit::border_style border);
    ~CLVContainerView() override;
    CLVContainerView(const CLVContainerView&) = delete;
    CLVContainerView& operator=(const CLVContainerView&) = delete;

    // True once the container's destruction has begun.
    bool IsDestroying() const { return destroying; }

    // The hints the layout around the container honours: minimum and maximum size and stretch.
    void SetLayoutPrefs(const kit::Minimax& hints);
    kit::Minimax LayoutPrefs() const { return prefs; }

private:
    friend class ColumnListView;

    ColumnListView* list;
    bool destroying = false;
    kit::Minimax prefs;
};
