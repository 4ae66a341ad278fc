// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include "ColumnListView/CLVColumn.h"
#include "kit/Geometry.h"

#include <vector>

// Column and cell geometry, shared by painting and hit testing. Every row uses the columns' x
// ranges; a row of outline level n is indented by n * kOutlineIndent in the expander column and
// in the indented columns that follow it.

inline constexpr float kOutlineIndent = 20.0f;
// Pixels the expander arrow takes across and down, edges included (an 11 x 11 image).
inline constexpr float kArrowSize = 10.0f;

// Places the shown columns side by side from x = 0 in display order, setting each column's start,
// end and indentation: the shown column after the expander column is indented, and so is each
// further one while the column before it passes the indentation on. Hidden columns keep their
// range. Returns the end of the last shown column, 0 when none is shown.
float LayOutColumns(const std::vector<CLVColumn*>& displayOrder);

// The end of the last shown column that is the expander column or indented: indented cells are
// cut there. `fallback` when there is none.
float IndentationLimit(const std::vector<CLVColumn*>& displayOrder, float fallback);

// A row's cell in the column, for a row indented by `indent` pixels, from `top` to `bottom`.
// Empty (left > right) when the indentation pushes it past the limit.
kit::Rect ColumnCellFrame(const CLVColumn& column, float indent, float limit, float top,
                          float bottom);

// Where the expander arrow of a superitem stands in its expander cell: 3 pixels left of the
// column's indented end, centred vertically, cut at the cell's right edge. kNoRect when it
// does not fit at all.
kit::Rect ExpanderArrowRect(const kit::Rect& cell, float columnEnd, float indent);
