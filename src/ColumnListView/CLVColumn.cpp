// SPDX-License-Identifier: GPL-3.0-or-later
#include "ColumnListView/CLVColumn.h"

#include "ColumnListView/CLVColors.h"
#include "ColumnListView/CLVColumnLabelView.h"
#include "ColumnListView/CLVStrings.h"
#include "ColumnListView/ColumnListView.h"

#include <algorithm>
#include <vector>

namespace {

// Space between a label and the edges of its header cell.
constexpr float kLabelInset = 8.0f;

} // namespace

CLVColumn::CLVColumn(const char* text, float columnWidth, uint32_t columnFlags, float minimumWidth)
    : hasLabel(text != nullptr), width(columnWidth), minWidth(minimumWidth), flags(columnFlags) {
    if (flags & CLV_COL_EXPANDER) {
        width = minWidth = 20.0f;
        hasLabel = false;
        flags = (flags & (CLV_COL_FIXED_POSITION | CLV_COL_PIN_LEFT | CLV_COL_HIDDEN |
                          CLV_COL_DRAG_WITH_NEXT)) |
                CLV_COL_EXPANDER | CLV_COL_JOIN_HEADER | CLV_COL_FIXED_WIDTH;
    }
    minWidth = std::max(minWidth, 4.0f);
    width = std::max(width, minWidth);
    if (hasLabel) {
        label = text;
        headerRect = kNoRect;
    } else {
        headerRect = kit::Rect(0.0f, 0.0f, -1.0f, -1.0f);
    }
}

CLVColumn::~CLVColumn() {
    if (parent) {
        ColumnListView::AssertWindowLocked();
        parent->RemoveColumn(this);
    }
}

CLVColumnLabelView* CLVColumn::GetHeaderView() const {
    return parent ? parent->Header() : nullptr;
}

void CLVColumn::SetWidth(float newWidth) {
    if (parent) {
        ColumnListView::AssertWindowLocked();
    }
    newWidth = std::max(newWidth, minWidth);
    if (newWidth == width) {
        return;
    }
    const float d = newWidth - width;
    width = newWidth;

    if (IsShown() && parent) {
        CLVColumnLabelView* header = parent->Header();
        const kit::Rect hb = header->Bounds();
        const kit::Rect lb = parent->Bounds();
        const bool alignRight = (flags & CLV_COL_ALIGN_RIGHT) != 0;

        // Move what lies right of the column (or, aligned right, the column's own right-hand
        // part too) by d, cut to the header's width.
        float srcLeft = columnEnd + 1.0f;
        if (alignRight) {
            srcLeft = d >= 0.0f ? columnStart : columnStart - d + 1.0f;
        }
        float srcRight = hb.right;
        float dstLeft = srcLeft + d;
        float dstRight = srcRight + d;
        if (dstRight > hb.right) {
            srcRight -= dstRight - hb.right;
            dstRight = hb.right;
        }
        if (dstLeft < hb.left) {
            srcLeft += hb.left - dstLeft;
            dstLeft = hb.left;
        }
        if (srcLeft <= srcRight) {
            header->CopyBits(kit::Rect(srcLeft, hb.top, srcRight, hb.bottom),
                             kit::Rect(dstLeft, hb.top, dstRight, hb.bottom));
            parent->CopyBits(kit::Rect(srcLeft, lb.top, srcRight, lb.bottom),
                             kit::Rect(dstLeft, lb.top, dstRight, lb.bottom));
        }

        // The strip the move exposed.
        float exposedLeft = hb.right + d + 1.0f;
        float exposedRight = hb.right;
        if (d > 0.0f) {
            exposedLeft = alignRight ? columnStart : columnEnd + 1.0f;
            exposedRight = alignRight ? columnStart + d : columnEnd + d;
        }
        header->Invalidate(kit::Rect(exposedLeft, hb.top, exposedRight, hb.bottom));
        parent->Invalidate(kit::Rect(exposedLeft, lb.top, exposedRight, lb.bottom));

        if (flags & CLV_COL_TRUNCATE_LABEL) {
            const kit::Rect changed = TruncateText(newWidth);
            if (IsSet(headerRect)) {
                headerRect.right += d;
            }
            if (IsSet(changed)) {
                header->Invalidate(alignRight ? headerRect : changed);
            }
        }

        // The separator at the column's right edge (new when shrinking, old when growing): the
        // cell's bevel draws its last two pixel columns, the inner shadow and the dark edge.
        const float separator = d < 0.0f ? columnEnd + d : columnEnd;
        header->Invalidate(kit::Rect(separator - 1.0f, hb.top, separator, hb.bottom));

        parent->UpdateColumnSizesDataRectSizeScrollBars(false);
        header->UpdateDragGroups();
    }

    if (IsShown() && !parent) {
        return;
    }
    if (parent) {
        parent->ColumnWidthChanged(parent->IndexOfColumn(this), width);
    }
}

void CLVColumn::SetShown(bool shown) {
    if (parent) {
        ColumnListView::AssertWindowLocked();
    }
    if (shown == IsShown()) {
        return;
    }
    flags = shown ? flags & ~CLV_COL_HIDDEN : flags | CLV_COL_HIDDEN;
    if (!parent) {
        return;
    }
    float x = columnStart;
    CLVColumnLabelView* header = parent->Header();
    // A label pressed, dragged or resized may belong to this column or to its drag group.
    header->CancelGesture();
    parent->UpdateColumnSizesDataRectSizeScrollBars(true);
    header->UpdateDragGroups();
    if (shown) {
        x = columnStart;
    }
    const kit::Rect hb = header->Bounds();
    const kit::Rect lb = parent->Bounds();
    header->Invalidate(kit::Rect(x, hb.top, hb.right, hb.bottom));
    parent->Invalidate(kit::Rect(x, lb.top, lb.right, lb.bottom));
    if (flags & CLV_COL_EXPANDER) {
        parent->expanderIndex = shown ? parent->IndexOfColumn(this) : -1;
    }
}

void CLVColumn::SetSortMode(CLVSortMode mode) {
    if (!parent) {
        sortMode = mode;
        return;
    }
    ColumnListView::AssertWindowLocked();
    parent->SetSortMode(parent->IndexOfColumn(this), mode);
}

kit::Rect CLVColumn::TruncateText(float columnWidth) {
    if (!parent || !hasLabel) {
        return kNoRect;
    }
    // Measured in the header's font, the font the label is drawn in.
    const kit::Font& font = parent->Header()->GetFont();
    std::vector<char> buffer(label.size() + 3);
    GetTruncatedString(label.c_str(), buffer.data(), columnWidth - 15.0f,
                       static_cast<int32_t>(buffer.size()), &font);
    if (truncatedLabel == buffer.data()) {
        return kNoRect;
    }
    kit::Rect changed = kNoRect;
    if (IsSet(headerRect)) {
        const int32_t shared = CommonPrefixLength(buffer.data(), truncatedLabel.c_str());
        changed = headerRect;
        changed.left += kLabelInset + font.StringWidth(buffer.data(), shared);
    }
    truncatedLabel = buffer.data();
    return changed;
}

void CLVColumn::DrawColumnHeader(kit::Painter& painter, kit::Rect rect, bool sortKey, bool focus,
                                 float fontAscent) {
    if (!hasLabel) {
        return;
    }
    if (flags & CLV_COL_TRUNCATE_LABEL) {
        if (headerRect == kNoRect) {
            TruncateText(rect.Width());
        }
    }
    const char* text = (flags & CLV_COL_TRUNCATE_LABEL) ? truncatedLabel.c_str() : label.c_str();
    if (!*text) {
        return;
    }
    painter.SetHighColor(focus ? ListColors().highlight : ListColors().label);
    painter.SetDrawingMode(kit::B_OP_OVER);
    const float textWidth = painter.StringWidth(text);
    const float x = (flags & CLV_COL_ALIGN_RIGHT) ? rect.right - kLabelInset - textWidth
                                                  : rect.left + kLabelInset;
    const float y = rect.top + 1.0f + fontAscent;
    painter.DrawString(text, kit::Point(x, y));
    painter.SetDrawingMode(kit::B_OP_COPY);
    if (sortKey) {
        painter.StrokeLine(kit::Point(x - 1.0f, y + 2.0f),
                           kit::Point(x - 1.0f + textWidth, y + 2.0f));
    }
    headerRect = rect;
}
