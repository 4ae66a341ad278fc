// SPDX-License-Identifier: GPL-3.0-or-later
#include "kit/ListView.h"

#include "kit/StableSort.h"

#include <QKeyEvent>
#include <algorithm>

namespace kit {

ListView::ListView(list_view_type listType, QWidget* parent) : View(parent), type(listType) {
    setFocusPolicy(Qt::StrongFocus);
}

bool ListView::AddItem(ListItem* item) {
    return AddItem(item, CountItems());
}

bool ListView::AddItem(ListItem* item, int32_t index) {
    return InsertItems(index, std::span<ListItem* const>(&item, 1));
}

bool ListView::InsertItems(int32_t index, std::span<ListItem* const> newItems) {
    if (index < 0 || index > CountItems()) {
        return false;
    }
    // Marking as we go finds an item given twice; a refusal takes the marks back.
    for (size_t i = 0; i < newItems.size(); i++) {
        if (!newItems[i] || newItems[i]->holdingList) {
            for (size_t j = 0; j < i; j++) {
                newItems[j]->holdingList = nullptr;
            }
            return false;
        }
        newItems[i]->holdingList = this;
    }
    for (ListItem* item : newItems) {
        item->Update(this, GetFont());
        item->selected = false;
        rowsHeight += item->Height() + 1.0f;
    }
    const auto count = static_cast<int32_t>(newItems.size());
    items.Insert(static_cast<size_t>(index), newItems);
    tops.resize(items.size() + 1);
    TopsChangedFrom(index);
    for (int32_t* mark : {&anchor, &caret}) {
        if (*mark >= index) {
            *mark += count;
        }
    }
    InvalidateFrom(index);
    ItemsChanged();
    return true;
}

bool ListView::AddList(const std::vector<ListItem*>& list) {
    return AddList(list, CountItems());
}

bool ListView::AddList(const std::vector<ListItem*>& list, int32_t index) {
    for (ListItem* item : list) {
        if (!AddItem(item, index++)) {
            return false;
        }
    }
    return true;
}

bool ListView::RemoveItem(ListItem* item) {
    return RemoveItem(IndexOf(item)) != nullptr;
}

ListItem* ListView::RemoveItem(int32_t index) {
    ListItem* item = ItemAt(index);
    return item && RemoveItems(index, 1) ? item : nullptr;
}

bool ListView::RemoveItems(int32_t index, int32_t count) {
    if (index < 0 || count < 0 || count > CountItems() - index) {
        return false;
    }
    if (count == 0) {
        return true;
    }
    InvalidateFrom(index);
    bool selectionChanged = false;
    for (int32_t i = index; i < index + count; i++) {
        selectionChanged |= SetSelected(i, false);
        ListItem* item = items[static_cast<size_t>(i)];
        item->holdingList = nullptr;
        rowsHeight -= item->Height() + 1.0f;
    }
    items.Erase(static_cast<size_t>(index), static_cast<size_t>(count));
    if (items.empty()) {
        // No rounding left over from fractional heights.
        rowsHeight = 0.0;
    }
    tops.resize(items.size() + 1);
    TopsChangedFrom(index);
    for (int32_t* mark : {&anchor, &caret}) {
        if (*mark >= index + count) {
            *mark -= count;
        } else if (*mark >= index) {
            *mark = -1;
        }
    }
    ItemsChanged();
    NoteSelectionChanged(selectionChanged);
    return true;
}

void ListView::MakeEmpty() {
    RemoveItems(0, CountItems());
}

void ListView::SortItems(const std::function<int(const ListItem*, const ListItem*)>& compare) {
    // The keyboard's anchor and caret stay on their rows.
    const ListItem* anchorItem = ItemAt(anchor);
    const ListItem* caretItem = ItemAt(caret);
    std::vector<ListItem*> sorted = items.ToVector();
    StableSort(std::span<ListItem*>(sorted),
               [&compare](const ListItem* a, const ListItem* b) { return compare(a, b) < 0; });
    items.Assign(std::move(sorted));
    TopsChangedFrom(0);
    anchor = IndexOf(anchorItem);
    caret = IndexOf(caretItem);
    Invalidate();
}

ListItem* ListView::ItemAt(int32_t index) const {
    return index >= 0 && index < CountItems() ? items[static_cast<size_t>(index)] : nullptr;
}

int32_t ListView::IndexOf(const ListItem* item) const {
    if (!item || item->holdingList != this) {
        return -1;
    }
    return static_cast<int32_t>(items.IndexOf(item));
}

int32_t ListView::IndexOf(Point where) const {
    EnsureTops(items.size());
    if (items.empty() || where.y < 0.0f || where.y >= tops.back()) {
        return -1;
    }
    const auto above = std::upper_bound(tops.begin(), tops.end(), where.y);
    return static_cast<int32_t>(above - tops.begin()) - 1;
}

Rect ListView::ItemFrame(int32_t index) const {
    const ListItem* item = ItemAt(index);
    if (!item) {
        return {};
    }
    EnsureTops(static_cast<size_t>(index));
    const float top = tops[static_cast<size_t>(index)];
    const Rect b = Bounds();
    return {b.left, top, b.right, top + item->Height()};
}

float ListView::ItemsHeight() const {
    return items.empty() ? 0.0f : static_cast<float>(rowsHeight) - 1.0f;
}

void ListView::InvalidateItem(int32_t index) {
    ++changes;
    if (ItemAt(index)) {
        Invalidate(ItemFrame(index));
    }
}

void ListView::SetListType(list_view_type listType) {
    type = listType;
    if (type == B_SINGLE_SELECTION_LIST && selectedCount > 1) {
        Select(CurrentSelection());
    }
}

void ListView::Select(int32_t index, bool extend) {
    if (!ItemAt(index)) {
        return;
    }
    bool changed = false;
    if (!extend || type == B_SINGLE_SELECTION_LIST) {
        for (int32_t i = 0; i < CountItems() && selectedCount > 0; i++) {
            if (i != index) {
                changed |= SetSelected(i, false);
            }
        }
    }
    changed |= SetSelected(index, true);
    anchor = caret = index;
    NoteSelectionChanged(changed);
}

void ListView::Select(int32_t from, int32_t to, bool extend) {
    if (type == B_SINGLE_SELECTION_LIST) {
        Select(to, false);
        return;
    }
    const int32_t low = std::max(0, std::min(from, to));
    const int32_t high = std::min(CountItems() - 1, std::max(from, to));
    if (low > high) {
        return;
    }
    bool changed = false;
    if (!extend) {
        for (int32_t i = 0; i < CountItems() && selectedCount > 0; i++) {
            if (i < low || i > high) {
                changed |= SetSelected(i, false);
            }
        }
    }
    for (int32_t i = low; i <= high; i++) {
        changed |= SetSelected(i, true);
    }
    anchor = from;
    caret = to;
    NoteSelectionChanged(changed);
}

void ListView::Deselect(int32_t index) {
    NoteSelectionChanged(ItemAt(index) && SetSelected(index, false));
}

void ListView::DeselectAll() {
    DeselectExcept(0, -1);
}

void ListView::DeselectExcept(int32_t from, int32_t to) {
    bool changed = false;
    for (int32_t i = 0; i < CountItems() && selectedCount > 0; i++) {
        if (i < from || i > to) {
            changed |= SetSelected(i, false);
        }
    }
    NoteSelectionChanged(changed);
}

bool ListView::IsItemSelected(int32_t index) const {
    const ListItem* item = ItemAt(index);
    return item && item->selected;
}

int32_t ListView::CurrentSelection(int32_t n) const {
    if (n < 0 || n >= selectedCount) {
        return -1;
    }
    for (int32_t i = 0; i < CountItems(); i++) {
        if (items[static_cast<size_t>(i)]->selected && n-- == 0) {
            return i;
        }
    }
    return -1;
}

void ListView::ScrollToItem(int32_t index) {
    if (!ItemAt(index)) {
        return;
    }
    const Rect frame = ItemFrame(index);
    const Rect b = Bounds();
    if (frame.top < b.top) {
        ScrollTo({b.left, frame.top});
    } else if (frame.bottom > b.bottom) {
        ScrollTo({b.left, std::min(frame.top, frame.bottom - b.Height())});
    }
}

void ListView::SetInvocationMessage(Message* message) {
    invocation.reset(message);
}

status_t ListView::Invoke(const Message* message) {
    const Message* source = message ? message : invocation.get();
    if (!source || !target) {
        return B_BAD_VALUE;
    }
    Message copy(*source);
    for (int32_t i = 0; i < CountItems(); i++) {
        if (items[static_cast<size_t>(i)]->selected) {
            copy.Add<int32_t>("index", i);
        }
    }
    PostMessage(target, std::move(copy));
    return B_OK;
}

void ListView::SelectionChanged() {}

bool ListView::InitiateDrag(Point /*where*/, int32_t /*index*/, bool /*wasSelected*/) {
    return false;
}

void ListView::ItemsChanged() {}

void ListView::Draw(Painter& painter, Rect updateRect) {
    int32_t first = IndexOf(Point(updateRect.left, std::max(0.0f, updateRect.top)));
    if (first < 0) {
        return;
    }
    for (int32_t i = first; i < CountItems(); i++) {
        const Rect frame = ItemFrame(i);
        if (frame.top > updateRect.bottom) {
            break;
        }
        if (painter.Meets(frame)) {
            items[static_cast<size_t>(i)]->DrawItem(painter, this, frame, false);
        }
    }
}

void ListView::keyPressEvent(QKeyEvent* e) {
    const int32_t last = CountItems() - 1;
    if (last < 0) {
        View::keyPressEvent(e);
        return;
    }
    const float page = Bounds().Height();
    const Rect current = ItemFrame(caret);
    int32_t next = -1;
    switch (e->key()) {
    case Qt::Key_Up:
        next = caret < 0 ? last : caret - 1;
        break;
    case Qt::Key_Down:
        next = caret < 0 ? 0 : caret + 1;
        break;
    case Qt::Key_Home:
        next = 0;
        break;
    case Qt::Key_End:
        next = last;
        break;
    case Qt::Key_PageUp:
        next = caret < 0 ? 0 : IndexOf(Point(0.0f, std::max(0.0f, current.top - page)));
        break;
    case Qt::Key_PageDown:
        next = caret < 0 ? 0 : IndexOf(Point(0.0f, current.top + page));
        if (next < 0) {
            next = last;
        }
        break;
    case Qt::Key_Return:
    case Qt::Key_Enter:
        if (CurrentSelection() >= 0) {
            Invoke();
        }
        return;
    default:
        View::keyPressEvent(e);
        return;
    }
    MoveCaret(std::clamp(next, 0, last), (e->modifiers() & Qt::ShiftModifier) != 0);
}

void ListView::changeEvent(QEvent* e) {
    View::changeEvent(e);
    if (e->type() == QEvent::FontChange) {
        rowsHeight = 0.0;
        for (size_t i = 0; i < items.size(); i++) {
            items[i]->Update(this, GetFont());
            rowsHeight += items[i]->Height() + 1.0f;
        }
        TopsChangedFrom(0);
        ItemsChanged();
        Invalidate();
    }
}

void ListView::EnsureTops(size_t count) const {
    for (; validTops <= count; validTops++) {
        const size_t row = validTops - 1;
        tops[validTops] = tops[row] + items[row]->Height() + 1.0f;
    }
}

void ListView::TopsChangedFrom(int32_t index) {
    ++changes;
    validTops = std::min(validTops, static_cast<size_t>(index) + 1);
}

void ListView::InvalidateFrom(int32_t index) {
    const Rect b = Bounds();
    const float top = index < CountItems() ? ItemFrame(index).top : ItemsHeight() + 1.0f;
    if (top <= b.bottom) {
        Invalidate(Rect(b.left, std::max(top, b.top), b.right, b.bottom));
    }
}

bool ListView::SetSelected(int32_t index, bool on) {
    ListItem* item = items[static_cast<size_t>(index)];
    if (item->selected == on) {
        return false;
    }
    item->selected = on;
    selectedCount += on ? 1 : -1;
    InvalidateItem(index);
    return true;
}

void ListView::NoteSelectionChanged(bool changed) {
    if (changed) {
        SelectionChanged();
    }
}

void ListView::MoveCaret(int32_t index, bool extend) {
    if (extend && type == B_MULTIPLE_SELECTION_LIST && anchor >= 0) {
        const int32_t from = anchor;
        Select(from, index);
    } else {
        Select(index);
    }
    ScrollToItem(index);
}

} // namespace kit
