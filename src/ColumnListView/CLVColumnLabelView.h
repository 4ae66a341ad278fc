#pragma once

#include "kit/View.h"

class ColumnListView;

// The header row above a ColumnListView: one cell per shown column, in display order, showing
// the column's label as the column draws it. It scrolls sideways with the list.
class CLVColumnLabelView : public kit::View {
public:
    // `frame` in the container's coordinates; the header is as tall as it.
    CLVColumnLabelView(kit::Rect frame, ColumnListView* list, const QFont& font);

    // The font's ascent, rounded up: labels stand on a baseline this far below a cell's top + 1.
    float FontAscent() const { return fontAscent; }

protected:
    void Draw(kit::Painter& painter, kit::Rect updateRect) override;

private:
    ColumnListView* owner;
    float fontAscent;
};
