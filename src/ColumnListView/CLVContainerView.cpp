// SPDX-License-Identifier: GPL-3.0-or-later
#include "ColumnListView/CLVContainerView.h"

#include "ColumnListView/ColumnListView.h"

CLVContainerView::CLVContainerView(ColumnListView* target, bool horizontal, bool vertical,
                                   bool corner, kit::border_style border)
    : BetterScrollView(target, horizontal, vertical, corner, border), list(target) {}

CLVContainerView::~CLVContainerView() {
    destroying = true;
    // The list goes first, while the container is whole, so that it sees the flag and leaves the
    // container alone.
    delete list;
}

void CLVContainerView::SetLayoutPrefs(const kit::Minimax& hints) {
    prefs = hints;
    kit::ApplyMinimax(this, hints);
}
