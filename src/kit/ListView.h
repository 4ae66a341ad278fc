// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include "kit/GapList.h"
#include "kit/ListItem.h"
#include "kit/Message.h"
#include "kit/View.h"

#include <QPointer>
#include <functional>
#include <memory>
#include <span>
#include <vector>

namespace kit {

enum list_view_type { B_SINGLE_SELECTION_LIST, B_MULTIPLE_SELECTION_LIST };

// A vertical list of rows that draw themselves, with single or multiple selection, keyboard
// navigation and invocation. Rows lie one below the other with one pixel between them; the
// list finds the row at a height by binary search over the rows' tops, so drawing and hit
// testing cost the same however many rows lie outside the view. The tops are brought up to
// date when next read, from the first row that moved: removing or adding rows one by one from
// the last to the first costs the number of rows once in all, not at every step. The list never
// deletes its items.
class ListView : public View {
public:
    explicit ListView(list_view_type type = B_SINGLE_SELECTION_LIST, QWidget* parent = nullptr);

    // Adding fails for a null item, an item that belongs to a list already, or an index
    // outside 0 ... CountItems().
    virtual bool AddItem(ListItem* item);
    virtual bool AddItem(ListItem* item, int32_t index);
    // Adds the items one by one at index, index + 1, ...; stops at the first that fails.
    virtual bool AddList(const std::vector<ListItem*>& list);
    virtual bool AddList(const std::vector<ListItem*>& list, int32_t index);
    virtual bool RemoveItem(ListItem* item);
    virtual ListItem* RemoveItem(int32_t index);
    virtual bool RemoveItems(int32_t index, int32_t count);
    virtual void MakeEmpty();
    // Reorders the rows by `compare` (negative: a before b); rows that compare equal keep their
    // order.
    void SortItems(const std::function<int(const ListItem*, const ListItem*)>& compare);

    int32_t CountItems() const { return static_cast<int32_t>(items.size()); }
    bool IsEmpty() const { return items.empty(); }
    ListItem* ItemAt(int32_t index) const;
    ListItem* FirstItem() const { return ItemAt(0); }
    ListItem* LastItem() const { return ItemAt(CountItems() - 1); }
    // Constant time.
    int32_t IndexOf(const ListItem* item) const;
    // The row under the point, -1 when there is none.
    int32_t IndexOf(Point where) const;
    bool HasItem(const ListItem* item) const { return IndexOf(item) >= 0; }
    // The row's rectangle across the visible width; invalid for an index out of range.
    Rect ItemFrame(int32_t index) const;
    // The height the rows take together: each row's height plus one pixel between rows. A row's
    // height is taken when the list adopts it and when the list's font changes. Constant time.
    float ItemsHeight() const;
    // Redraws the row, as after a change to it.
    void InvalidateItem(int32_t index);
    // A count that grows whenever rows are added, removed or moved, or a row is redrawn as
    // changed: who keeps a copy of the rows compares it with the count it saw.
    [[nodiscard]] uint64_t Changes() const { return changes; }

    list_view_type ListType() const { return type; }
    void SetListType(list_view_type listType);

    // Selects the row; without `extend` (and always in a single-selection list) the others are
    // deselected.
    void Select(int32_t index, bool extend = false);
    // Selects the rows from `from` to `to`; without `extend` the others are deselected.
    void Select(int32_t from, int32_t to, bool extend = false);
    void Deselect(int32_t index);
    void DeselectAll();
    void DeselectExcept(int32_t from, int32_t to);
    bool IsItemSelected(int32_t index) const;
    // The index of the n-th selected row from the top, -1 when there are fewer.
    int32_t CurrentSelection(int32_t n = 0) const;
    // Scrolls vertically as little as needed to show the row whole.
    void ScrollToItem(int32_t index);
    void ScrollToSelection() { ScrollToItem(CurrentSelection()); }

    // The message Invoke sends by default; the list owns it. Null leaves the list without one.
    void SetInvocationMessage(Message* message);
    Message* InvocationMessage() const { return invocation.get(); }
    void SetTarget(QObject* object) { target = object; }
    QObject* Target() const { return target; }
    // Posts a copy of `message` (or of the invocation message) to the target, with an int32
    // "index" for each selected row. B_BAD_VALUE without a message or target.
    virtual status_t Invoke(const Message* message = nullptr);

protected:
    // Called after the selection changed.
    virtual void SelectionChanged();
    // Called when the user drags rows; returns whether a drag was started.
    virtual bool InitiateDrag(Point where, int32_t index, bool wasSelected);
    // Called after rows were added or removed or changed their heights.
    virtual void ItemsChanged();
    // Inserts the items as rows index, index + 1, ... in one step; false, adding none, when
    // AddItem would refuse one of them or one occurs twice.
    bool InsertItems(int32_t index, std::span<ListItem* const> newItems);

    void Draw(Painter& painter, Rect updateRect) override;
    void keyPressEvent(QKeyEvent* e) override;
    void changeEvent(QEvent* e) override;

private:
    // Makes tops[0 ... count] current.
    void EnsureTops(size_t count) const;
    void TopsChangedFrom(int32_t index);
    void InvalidateFrom(int32_t index);
    // Changes one row's state; true when it changed.
    bool SetSelected(int32_t index, bool on);
    void NoteSelectionChanged(bool changed);
    void MoveCaret(int32_t index, bool extend);

    list_view_type type;
    GapList<ListItem, &ListItem::listSlot> items;
    // tops[i] is the top of row i; tops[CountItems()] lies one pixel below the last row.
    mutable std::vector<float> tops{0.0f};
    mutable size_t validTops = 1;
    uint64_t changes = 0;
    // The sum of the rows' heights, one pixel added for each.
    double rowsHeight = 0.0;
    int32_t selectedCount = 0;
    int32_t anchor = -1;
    int32_t caret = -1;
    std::unique_ptr<Message> invocation;
    QPointer<QObject> target;
};

} // namespace kit
