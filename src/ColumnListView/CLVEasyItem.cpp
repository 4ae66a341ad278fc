// SPDX-License-Identifier: GPL-3.0-or-later
#include "ColumnListView/CLVEasyItem.h"

#include "ColumnListView/CLVColors.h"
#include "ColumnListView/CLVStrings.h"
#include "ColumnListView/ColumnListView.h"

#include <cmath>
#include <cstring>
#include <strings.h>

namespace {

constexpr float kTextInset = 2.0f;
constexpr float kRightTextInset = 14.0f;
// The buffer a user text is compared in.
constexpr int32_t kUserTextBufferSize = 256;

bool IsTextKind(uint32_t kind) {
    return kind == CELL_TEXT || kind == CELL_TRUNCATED_TEXT || kind == CELL_USER_TEXT ||
           kind == CELL_TRUNCATED_USER_TEXT;
}

} // namespace

CLVEasyItem::CLVEasyItem(uint32_t outlineLevel, bool isSuperitem, bool isExpanded,
                         float minimumHeight)
    : CLVListItem(outlineLevel, isSuperitem, isExpanded, minimumHeight) {}

CLVEasyItem::Cell& CLVEasyItem::PrepareCell(int32_t column) {
    if (static_cast<size_t>(column) >= cells.size()) {
        cells.resize(static_cast<size_t>(column) + 1);
    }
    Cell& cell = cells[static_cast<size_t>(column)];
    cell = Cell();
    return cell;
}

const CLVEasyItem::Cell* CLVEasyItem::CellAt(int32_t column) const {
    return column >= 0 && static_cast<size_t>(column) < cells.size()
               ? &cells[static_cast<size_t>(column)]
               : nullptr;
}

void CLVEasyItem::SetColumnContent(int32_t column, const char* text, bool truncate,
                                   bool rightJustify) {
    if (column < 0) {
        return;
    }
    Cell& cell = PrepareCell(column);
    if (!text || !*text) {
        return;
    }
    cell.text = text;
    if (truncate) {
        cell.kind = CELL_TRUNCATED_TEXT | CELL_TRUNCATION_PENDING;
    } else {
        cell.kind = CELL_TEXT;
    }
    if (rightJustify) {
        cell.kind |= CELL_RIGHT_JUSTIFIED;
    }
}

void CLVEasyItem::SetColumnContent(int32_t column, const kit::Bitmap* bitmap, float offset,
                                   bool copy, bool rightJustify) {
    if (column < 0) {
        return;
    }
    Cell& cell = PrepareCell(column);
    if (!bitmap) {
        return;
    }
    cell.kind = CELL_BITMAP;
    if (copy) {
        cell.ownedBitmap = std::make_unique<kit::Bitmap>(*bitmap);
        cell.bitmap = cell.ownedBitmap.get();
        cell.kind |= CELL_OWNS_BITMAP;
    } else {
        cell.bitmap = bitmap;
    }
    if (rightJustify) {
        cell.kind |= CELL_RIGHT_JUSTIFIED;
    }
    cell.offset = static_cast<int32_t>(offset);
}

void CLVEasyItem::SetColumnUserTextContent(int32_t column, bool truncate, bool rightJustify) {
    if (column < 0) {
        return;
    }
    Cell& cell = PrepareCell(column);
    cell.kind = truncate ? CELL_TRUNCATED_USER_TEXT : CELL_USER_TEXT;
    if (rightJustify) {
        cell.kind |= CELL_RIGHT_JUSTIFIED;
    }
}

const char* CLVEasyItem::GetUserText(int32_t /*column*/, float /*width*/) const {
    return nullptr;
}

const char* CLVEasyItem::GetColumnContentText(int32_t column) const {
    const Cell* cell = CellAt(column);
    if (!cell) {
        return nullptr;
    }
    switch (cell->kind & CELL_KIND_MASK) {
    case CELL_TEXT:
    case CELL_TRUNCATED_TEXT:
        return cell->text.c_str();
    case CELL_USER_TEXT:
    case CELL_TRUNCATED_USER_TEXT:
        return GetUserText(column, -1.0f);
    default:
        return nullptr;
    }
}

const kit::Bitmap* CLVEasyItem::GetColumnContentBitmap(int32_t column) const {
    const Cell* cell = CellAt(column);
    return cell && (cell->kind & CELL_KIND_MASK) == CELL_BITMAP ? cell->bitmap : nullptr;
}

uint32_t CLVEasyItem::CellKind(int32_t column) const {
    const Cell* cell = CellAt(column);
    return cell ? cell->kind : CELL_EMPTY;
}

const char* CLVEasyItem::TruncatedText(int32_t column) const {
    const Cell* cell = CellAt(column);
    return cell && (cell->kind & CELL_KIND_MASK) == CELL_TRUNCATED_TEXT ? cell->Shown() : nullptr;
}

kit::Rect CLVEasyItem::CellRect(int32_t column) const {
    const Cell* cell = CellAt(column);
    return cell ? cell->rect : kNoRect;
}

int CLVEasyItem::CompareItems(const CLVListItem* a, const CLVListItem* b, int32_t column) {
    const auto* left = dynamic_cast<const CLVEasyItem*>(a);
    const auto* right = dynamic_cast<const CLVEasyItem*>(b);
    if (!left || !right || !IsTextKind(left->CellKind(column) & CELL_KIND_MASK) ||
        !IsTextKind(right->CellKind(column) & CELL_KIND_MASK)) {
        return 0;
    }
    // A user text cell without text compares as an empty text.
    const char* leftText = left->GetColumnContentText(column);
    const char* rightText = right->GetColumnContentText(column);
    return strcasecmp(leftText ? leftText : "", rightText ? rightText : "");
}

void CLVEasyItem::Update(kit::View* owner, const kit::Font& font) {
    CLVListItem::Update(owner, font);
    kit::FontHeight h;
    font.GetHeight(&h);
    const float ascent = std::ceil(h.ascent);
    textOffset = ascent + 0.5f * (Height() - (ascent + std::ceil(h.descent)));
}

void CLVEasyItem::DrawItemColumn(kit::Painter& painter, ColumnListView* /*owner*/, kit::Rect rect,
                                 int32_t column, bool complete) {
    const CLVColors& colors = ListColors();
    painter.SetLowColor(IsSelected() ? colors.selectedBackground : colors.background);
    painter.SetDrawingMode(kit::B_OP_COPY);
    if (IsSelected() || complete) {
        painter.FillRect(rect, kit::B_SOLID_LOW);
    }
    if (column < 0 || static_cast<size_t>(column) >= cells.size()) {
        return;
    }
    Cell& cell = cells[static_cast<size_t>(column)];
    const uint32_t kind = cell.kind & CELL_KIND_MASK;
    if (kind == CELL_EMPTY) {
        return;
    }
    painter.ConstrainClippingRegion(&rect);
    cell.rect = rect;
    const bool rightJustified = (cell.kind & CELL_RIGHT_JUSTIFIED) != 0;
    if (kind == CELL_BITMAP) {
        const kit::Rect bounds = cell.bitmap->Bounds();
        const auto offset = static_cast<float>(cell.offset);
        kit::Rect target;
        if (rightJustified) {
            target.right = rect.right - offset;
            target.left = target.right - bounds.Width();
        } else {
            target.left = rect.left + offset;
            target.right = target.left + bounds.Width();
        }
        target.top = rect.top + std::ceil(rect.Height() * 0.5f - bounds.Height() * 0.5f);
        target.bottom = target.top + bounds.Height();
        painter.SetDrawingMode(kit::B_OP_OVER);
        painter.DrawBitmap(*cell.bitmap, bounds, target);
        painter.SetDrawingMode(kit::B_OP_COPY);
    } else if (const char* text = TextToDraw(column, cell, rect.Width(), painter.GetFont())) {
        painter.SetHighColor(IsSelected() ? colors.selectedText : colors.text);
        const float x = rightJustified ? rect.right - kRightTextInset - painter.StringWidth(text)
                                       : rect.left + kTextInset;
        painter.DrawString(text, kit::Point(x, rect.top + textOffset));
    }
    painter.ConstrainClippingRegion(nullptr);
}

const char* CLVEasyItem::TextToDraw(int32_t column, Cell& cell, float width,
                                    const kit::Font& font) const {
    switch (cell.kind & CELL_KIND_MASK) {
    case CELL_TEXT:
        return cell.text.c_str();
    case CELL_TRUNCATED_TEXT:
        if (cell.kind & CELL_TRUNCATION_PENDING) {
            TruncateText(cell, width, font);
            cell.kind &= ~CELL_TRUNCATION_PENDING;
        }
        return cell.Shown();
    case CELL_USER_TEXT:
        return GetUserText(column, -1.0f);
    case CELL_TRUNCATED_USER_TEXT:
        return GetUserText(column, width);
    default:
        return nullptr;
    }
}

kit::Rect CLVEasyItem::TruncateText(Cell& cell, float width, const kit::Font& font) {
    // The buffer holds the whole text, so that a text that fits is never cut.
    std::vector<char> buffer(cell.text.size() + 3);
    GetTruncatedString(cell.text.c_str(), buffer.data(), width - 4.0f,
                       static_cast<int32_t>(buffer.size()), &font);
    if (std::strcmp(cell.Shown(), buffer.data()) == 0) {
        return kNoRect;
    }
    kit::Rect changed = kNoRect;
    if (IsSet(cell.rect)) {
        const int32_t shared = CommonPrefixLength(buffer.data(), cell.Shown());
        changed = cell.rect;
        changed.left += kTextInset + font.StringWidth(buffer.data(), shared);
    }
    if (cell.text == buffer.data()) {
        cell.truncated.clear();
    } else {
        cell.truncated = buffer.data();
    }
    return changed;
}

void CLVEasyItem::ColumnWidthChanged(int32_t column, float width, ColumnListView* owner) {
    if (column < 0 || static_cast<size_t>(column) >= cells.size()) {
        return;
    }
    Cell& cell = cells[static_cast<size_t>(column)];
    if (!IsSet(cell.rect)) {
        return;
    }
    const float d = width - cell.rect.Width();
    const float left = cell.rect.left;
    cell.rect.right += d;
    for (Cell& other : cells) {
        if (&other != &cell && IsSet(other.rect) && other.rect.left > left) {
            other.rect.OffsetBy(d, 0.0f);
        }
    }

    const bool rightJustified = (cell.kind & CELL_RIGHT_JUSTIFIED) != 0;
    switch (cell.kind & CELL_KIND_MASK) {
    case CELL_TRUNCATED_TEXT: {
        const kit::Rect bounds = owner->Bounds();
        if (cell.rect.bottom < bounds.top || cell.rect.top > bounds.bottom) {
            cell.kind |= CELL_TRUNCATION_PENDING;
            break;
        }
        const kit::Rect changed = TruncateText(cell, width, owner->GetFont());
        cell.kind &= ~CELL_TRUNCATION_PENDING;
        if (IsSet(changed)) {
            owner->Invalidate(rightJustified ? cell.rect : changed);
        }
        break;
    }
    case CELL_TRUNCATED_USER_TEXT: {
        char before[kUserTextBufferSize] = {};
        char after[kUserTextBufferSize] = {};
        const char* oldText = GetUserText(column, width - d);
        const char* newText = GetUserText(column, width);
        Strtcpy(before, oldText ? oldText : "", kUserTextBufferSize);
        Strtcpy(after, newText ? newText : "", kUserTextBufferSize);
        if (std::strcmp(before, after) != 0) {
            kit::Rect changed = cell.rect;
            if (!rightJustified) {
                changed.left += kTextInset + owner->GetFont().StringWidth(
                                                 after, CommonPrefixLength(before, after));
            }
            owner->Invalidate(changed);
        }
        break;
    }
    default:
        break;
    }
}

void CLVEasyItem::FrameChanged(int32_t column, kit::Rect frame, ColumnListView* owner) {
    if (column < 0 || static_cast<size_t>(column) >= cells.size()) {
        return;
    }
    Cell& cell = cells[static_cast<size_t>(column)];
    if ((cell.kind & CELL_KIND_MASK) != CELL_TRUNCATED_TEXT || !IsSet(cell.rect) ||
        frame == cell.rect) {
        return;
    }
    cell.rect = frame;
    if (!frame.Intersects(owner->Bounds())) {
        cell.kind |= CELL_TRUNCATION_PENDING;
        return;
    }
    const kit::Rect changed = TruncateText(cell, frame.Width(), owner->GetFont());
    cell.kind &= ~CELL_TRUNCATION_PENDING;
    if (IsSet(changed)) {
        owner->Invalidate(changed);
    }
}
