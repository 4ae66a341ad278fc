// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include "ColumnListView/CLVListItem.h"
#include "kit/Bitmap.h"

#include <memory>
#include <string>
#include <vector>

// Cell kinds (the low three bits of a cell's kind) and flags.
inline constexpr uint32_t CELL_EMPTY = 0;
inline constexpr uint32_t CELL_TEXT = 1;
inline constexpr uint32_t CELL_TRUNCATED_TEXT = 2;
inline constexpr uint32_t CELL_BITMAP = 3;
inline constexpr uint32_t CELL_USER_TEXT = 4;
inline constexpr uint32_t CELL_TRUNCATED_USER_TEXT = 5;
inline constexpr uint32_t CELL_KIND_MASK = 0x07;
// With CELL_BITMAP: the item holds its own copy of the bitmap.
inline constexpr uint32_t CELL_OWNS_BITMAP = 0x08;
// With CELL_TRUNCATED_TEXT: the truncated text is recomputed before the cell is next drawn.
inline constexpr uint32_t CELL_TRUNCATION_PENDING = 0x10;
// The text or bitmap is aligned to the cell's right edge.
inline constexpr uint32_t CELL_RIGHT_JUSTIFIED = 0x20;

// A ready-made row: each column's cell holds a text (drawn whole, or cut with "..." to the cell
// width), a text a subclass supplies on demand, or a bitmap. Truncated texts are recomputed
// only for cells on screen when columns change; cells off screen catch up when next drawn.
class CLVEasyItem : public CLVListItem {
public:
    explicit CLVEasyItem(uint32_t outlineLevel = 0, bool isSuperitem = false,
                         bool isExpanded = false, float minimumHeight = 0.0f);

    // A null or empty text empties the cell. Right-justified text ends 14 pixels left of the
    // cell's right edge; other text starts 2 pixels right of its left edge.
    virtual void SetColumnContent(int32_t column, const char* text, bool truncate = true,
                                  bool rightJustify = false);
    // A bitmap `offset` pixels (whole pixels) from the cell's left edge, or right edge when
    // right-justified, centred vertically. With `copy` the item keeps a copy of its own;
    // otherwise the bitmap must outlive the cell. A null bitmap empties the cell.
    virtual void SetColumnContent(int32_t column, const kit::Bitmap* bitmap, float offset,
                                  bool copy = true, bool rightJustify = false);
    // The cell shows GetUserText for its width (truncate) or for -1.0 (whole text).
    virtual void SetColumnUserTextContent(int32_t column, bool truncate, bool rightJustify = false);
    // Texts of user-text cells; width -1.0 asks for the whole text. Null by default.
    virtual const char* GetUserText(int32_t column, float width) const;

    const char* GetColumnContentText(int32_t column) const;
    const kit::Bitmap* GetColumnContentBitmap(int32_t column) const;
    // The cell's kind and flags; CELL_EMPTY beyond the item's cells.
    uint32_t CellKind(int32_t column) const;
    // A cell's truncated text as last computed (text cells that truncate only).
    const char* TruncatedText(int32_t column) const;
    // Where the cell was last drawn; kNoRect when not drawn since its content was set.
    kit::Rect CellRect(int32_t column) const;
    // Distance from the row's top to the text baseline, set by Update.
    float TextOffset() const { return textOffset; }

    // A compare function for sorting: texts of two text cells compared ignoring case, else 0.
    static int CompareItems(const CLVListItem* a, const CLVListItem* b, int32_t column);

    void Update(kit::View* owner, const kit::Font& font) override;
    void DrawItemColumn(kit::Painter& painter, ColumnListView* owner, kit::Rect rect,
                        int32_t column, bool complete) override;
    void ColumnWidthChanged(int32_t column, float width, ColumnListView* owner) override;
    void FrameChanged(int32_t column, kit::Rect frame, ColumnListView* owner) override;

private:
    struct Cell {
        uint32_t kind = CELL_EMPTY;
        std::string text;
        // The truncated text when it differs from the text; empty while the text fits.
        std::string truncated;

        const char* Shown() const { return truncated.empty() ? text.c_str() : truncated.c_str(); }
        const kit::Bitmap* bitmap = nullptr;
        std::unique_ptr<kit::Bitmap> ownedBitmap;
        int32_t offset = 0;
        kit::Rect rect = kNoRect;
    };

    // Makes sure the cell exists and clears it.
    Cell& PrepareCell(int32_t column);
    const Cell* CellAt(int32_t column) const;
    // Recomputes a truncated text cell for the width; returns the part to redraw or kNoRect.
    static kit::Rect TruncateText(Cell& cell, float width, const kit::Font& font);
    // The text a text cell draws for its width, null when none.
    const char* TextToDraw(int32_t column, Cell& cell, float width, const kit::Font& font) const;

    std::vector<Cell> cells;
    float textOffset = 0.0f;
};
