// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include "ColumnListView/CLVSortKeys.h"
#include "kit/Geometry.h"
#include "kit/Painter.h"

#include <cstdint>
#include <string>
#include <vector>

class ColumnListView;
class CLVColumnLabelView;

// The column may be a sort key; a click on its header sorts.
inline constexpr uint32_t CLV_COL_SORTABLE = 0x0001;
// A drag group holding the column cannot be dragged.
inline constexpr uint32_t CLV_COL_FIXED_POSITION = 0x0002;
// The user cannot resize the column from the header.
inline constexpr uint32_t CLV_COL_FIXED_WIDTH = 0x0004;
// Dragged groups with this flag stay left of groups without it.
inline constexpr uint32_t CLV_COL_PIN_LEFT = 0x0008;
// Dragged groups with this flag stay right of groups without it.
inline constexpr uint32_t CLV_COL_PIN_RIGHT = 0x0010;
// State: the column is hidden (set and cleared by SetShown).
inline constexpr uint32_t CLV_COL_HIDDEN = 0x0020;
// No header separator between this column and the next shown one.
inline constexpr uint32_t CLV_COL_JOIN_HEADER = 0x0040;
// The next column in display order is dragged together with this one.
inline constexpr uint32_t CLV_COL_DRAG_WITH_NEXT = 0x0080;
// The column holds the outline arrows of a hierarchical list.
inline constexpr uint32_t CLV_COL_EXPANDER = 0x0100;
// An indented column with this flag passes the indentation on to the next shown column.
inline constexpr uint32_t CLV_COL_PASS_INDENT = 0x0200;
// The header label is shortened with "..." to fit the column.
inline constexpr uint32_t CLV_COL_TRUNCATE_LABEL = 0x0400;
// Items are told when the column's width or frame changes.
inline constexpr uint32_t CLV_COL_NOTIFY_ITEMS = 0x0800;
// The header label is right-aligned, and a width change keeps the column's right-hand pixels.
inline constexpr uint32_t CLV_COL_ALIGN_RIGHT = 0x1000;

// A rectangle that stands for "none" (nothing drawn, nothing to redraw).
inline constexpr kit::Rect kNoRect{-1.0f, -1.0f, -1.0f, -1.0f};
// Whether a rectangle is a real one rather than kNoRect or an empty one.
constexpr bool IsSet(const kit::Rect& r) {
    return r != kNoRect && r.IsValid();
}

// One column of a ColumnListView: its label, width and minimum width, flags, sort mode,
// visibility and, while it belongs to a list, its x range there. The list that a column is added
// to owns it.
class CLVColumn {
public:
    // An expander column (CLV_COL_EXPANDER) is 20 pixels wide, has no label and is joined to the
    // next header, fixed in width. Minimum widths below 4 become 4; widths below the minimum
    // become the minimum. The label (null for none) is copied.
    explicit CLVColumn(const char* text, float columnWidth = 20.0f, uint32_t columnFlags = 0,
                       float minimumWidth = 20.0f);
    // A column still in a list is removed from it first.
    virtual ~CLVColumn();
    CLVColumn(const CLVColumn&) = delete;
    CLVColumn& operator=(const CLVColumn&) = delete;

    const char* GetLabel() const { return hasLabel ? label.c_str() : nullptr; }
    ColumnListView* GetParent() const { return parent; }
    CLVColumnLabelView* GetHeaderView() const;
    float Width() const { return width; }
    float MinWidth() const { return minWidth; }
    uint32_t Flags() const { return flags; }
    CLVSortMode SortMode() const { return sortMode; }
    bool IsShown() const { return (flags & CLV_COL_HIDDEN) == 0; }

    // The x range in the list, from the list's last column layout; edges included.
    float ColumnStart() const { return columnStart; }
    float ColumnEnd() const { return columnEnd; }
    // Whether rows shift this column by their outline indentation.
    bool IsIndented() const { return indented; }

    // Widths below the minimum become the minimum. The columns to the right move with the
    // change: their pixels are moved rather than drawn again.
    virtual void SetWidth(float newWidth);
    virtual void SetShown(bool shown);
    // Stores the mode; in a list, the list's SetSortMode does so.
    virtual void SetSortMode(CLVSortMode mode);

    // Recomputes the header label as truncated for the column width; returns the part of the
    // header to redraw, or kNoRect.
    kit::Rect TruncateText(float columnWidth);
    const char* TruncatedLabel() const { return hasLabel ? truncatedLabel.c_str() : nullptr; }
    // Where the label was last drawn in the header.
    kit::Rect HeaderRect() const { return headerRect; }

    // Draws the label into `rect` of the header, pressed in blue, underlined when the column is
    // a sort key.
    virtual void DrawColumnHeader(kit::Painter& painter, kit::Rect rect, bool sortKey, bool focus,
                                  float fontAscent);

private:
    friend class ColumnListView;
    friend float LayOutColumns(const std::vector<CLVColumn*>& displayOrder);

    std::string label;
    bool hasLabel;
    std::string truncatedLabel;
    kit::Rect headerRect;
    float width;
    float minWidth;
    float columnStart = 0.0f;
    float columnEnd = 0.0f;
    uint32_t flags;
    bool indented = false;
    CLVSortMode sortMode = CLVSortNone;
    ColumnListView* parent = nullptr;
};
