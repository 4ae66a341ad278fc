#include "ColumnListView/CLVColumnLabelView.h"

#include "ColumnListView/CLVColors.h"
#include "ColumnListView/ColumnListView.h"

#include <algorithm>
#include <cmath>

CLVColumnLabelView::CLVColumnLabelView(kit::Rect frame, ColumnListView* list, const QFont& font)
    : owner(list) {
    setFont(font);
    setGeometry(kit::ToQRect(frame));
    SetViewColor(kCLVFace);
    kit::FontHeight height;
    GetFont().GetHeight(&height);
    fontAscent = std::ceil(height.ascent);
}

void CLVColumnLabelView::Draw(kit::Painter& painter, kit::Rect updateRect) {
    const kit::Rect b = Bounds();
    painter.SetLowColor(kCLVFace);
    const std::vector<CLVColumn*>& keys = owner->SortKeys();
    for (CLVColumn* column : owner->DisplayOrderList()) {
        if (!column->IsShown()) {
            continue;
        }
        const kit::Rect cell(column->ColumnStart(), b.top, column->ColumnEnd(), b.bottom);
        if (!cell.Intersects(updateRect)) {
            continue;
        }
        kit::Rect inner = cell;
        inner.InsetBy(1.0f, 1.0f);
        const bool sortKey = column->SortMode() != CLVSortNone &&
                             std::find(keys.begin(), keys.end(), column) != keys.end();
        painter.ConstrainClippingRegion(&inner);
        column->DrawColumnHeader(painter, inner, sortKey, false, fontAscent);
        painter.ConstrainClippingRegion(nullptr);
    }
}
