// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include "ColumnListView/BetterScrollView.h"
#include "ColumnListView/CLVColumn.h"
#include "ColumnListView/CLVColumnLabelView.h"
#include "ColumnListView/CLVContainerView.h"
#include "ColumnListView/CLVEasyItem.h"
#include "ColumnListView/CLVListItem.h"
#include "ColumnListView/CLVStrings.h"
#include "ColumnListView/ScrollViewCorner.h"
#include "kit/Bitmap.h"
#include "kit/GapList.h"
#include "kit/ListView.h"

#include <QFont>
#include <cstdint>
#include <functional>
#include <vector>

// Compares two rows in a column: negative when the first comes first, 0 when they are equal.
using CLVCompareFuncPtr = int32_t (*)(const CLVListItem* a, const CLVListItem* b, int32_t column);

// A list whose rows (CLVListItem) are drawn in columns (CLVColumn) under a header row, inside a
// scroll container that the list makes for itself. Columns have an index (their order of
// addition, which cells, sort keys and hooks use) and a separate left-to-right display order.
// The list owns its columns and header, never its rows.
//
// Every column, item and sorting operation must come from the GUI thread; a call from another
// thread is reported on standard error ("The looper must be locked.") and then carried out.
class ColumnListView : public kit::ListView {
public:
    // Builds the list with its header and container; `containerView` receives the container,
    // which is what the caller places in its layout. `frame` (edges included) is the list's
    // initial place and size; the header takes its top rows. `labelFont` is the header's font,
    // the application font when null.
    ColumnListView(kit::Rect frame, CLVContainerView** containerView, const char* name = nullptr,
                   kit::list_view_type type = kit::B_SINGLE_SELECTION_LIST,
                   bool hierarchical = false, bool horizontal = true, bool vertical = true,
                   bool scrollViewCorner = true, kit::border_style border = kit::B_NO_BORDER,
                   const QFont* labelFont = nullptr);
    // Deletes the columns and, unless the container is being deleted already, the container
    // with the header. The rows are left to their owner.
    ~ColumnListView() override;
    ColumnListView(const ColumnListView&) = delete;
    ColumnListView& operator=(const ColumnListView&) = delete;

    // Columns. Refused calls return false and change nothing.

    // Refused for a column in a list already, or an expander column in a flat list or in a list
    // that has one.
    virtual bool AddColumn(CLVColumn* column);
    // All or nothing: refused as AddColumn would, or when a column occurs twice.
    virtual bool AddColumnList(const std::vector<CLVColumn*>& newColumns);
    // Takes the column out of the list (and out of the sort keys) without deleting it.
    virtual bool RemoveColumn(CLVColumn* column);
    // Removes `count` columns from the index of `column` on.
    virtual bool RemoveColumns(CLVColumn* column, int32_t count);
    // `order` holds one column index per column, left to right; refused when an index is out of
    // range or repeats.
    virtual bool SetDisplayOrder(const int32_t* order);
    std::vector<int32_t> DisplayOrder() const;
    CLVColumn* ColumnAt(int32_t index) const;
    int32_t IndexOfColumn(const CLVColumn* column) const;
    int32_t CountColumns() const;
    // Lays out and redraws the columns after a client changed their properties.
    void ColumnsChanged();

    // Hooks. ColumnWidthChanged tells the rows of a CLV_COL_NOTIFY_ITEMS column the width of
    // their cells; DisplayOrderChanged tells them their cells' new frames; SortingChanged does
    // nothing by default.
    virtual void ColumnWidthChanged(int32_t index, float newWidth);
    virtual void DisplayOrderChanged(const int32_t* order);
    virtual void SortingChanged();

    // Sorting. Rows are compared by the sort keys, primary first, with the compare function;
    // without keys or without a compare function every pair of rows compares equal. Operations
    // on a column without CLV_COL_SORTABLE do nothing at all, not even the hook; each other one
    // ends with SortingChanged.

    // The function that compares two rows in a column (negative: the first comes first).
    void SetSortFunction(CLVCompareFuncPtr compare);
    // Makes the column the only key, in its mode (ascending when it had none) and re-sorts;
    // when it is the primary key already, only the hook runs. A negative index empties the keys
    // without re-sorting.
    virtual void SetSortKey(int32_t index);
    // Appends the column as the least significant key (ascending when it had no mode) and
    // re-sorts; nothing but the hook for a key or a negative index.
    virtual void AddSortKey(int32_t index);
    // Stores the column's mode and re-sorts; CLVSortNone takes the column out of the keys. It
    // never makes a column a key.
    virtual void SetSortMode(int32_t index, CLVSortMode mode);
    // Ascending becomes descending, descending none, none ascending.
    void ReverseSortMode(int32_t index);
    // Replaces the keys: `indexes[i]` with `modes[i]`, primary first.
    void SetSorting(int32_t count, const int32_t* indexes, const CLVSortMode* modes);
    // Writes each key's column index and mode, primary first, into arrays of CountColumns()
    // entries (either may be null); returns the number of keys.
    int32_t Sorting(int32_t* indexes, CLVSortMode* modes) const;
    // Re-sorts every row with a stable sort: rows that compare equal keep their order. In a
    // hierarchical list each group of siblings is sorted by itself and every row stays
    // directly above its own subitems.
    void SortItems();
    // The sort keys, primary first.
    const std::vector<CLVColumn*>& SortKeys() const { return sortKeys; }
    // Where a new row belongs in a flat list as it is sorted now: after every row that does not
    // come after it, so that rows equal under the keys keep the order they were added in. The
    // end without keys or without a compare function.
    int32_t SortedIndex(const CLVListItem* item) const;

    // Items: only CLVListItems are accepted; an item belongs to one list at a time. In a
    // hierarchical list the indexes here are those of the full list, which holds every row
    // whether shown or not; a row is shown while all its superitems are expanded. A flat list's
    // full list stays empty.

    // Adds at the end of the (full) list.
    bool AddItem(kit::ListItem* item) override;
    // A row of a hierarchical list shows when its superitem is expanded and shown (or when it has
    // none), right after the shown row before it.
    bool AddItem(kit::ListItem* item, int32_t index) override;
    // Adds the items one by one at index, index + 1, ...; stops at the first refused.
    bool AddList(const std::vector<kit::ListItem*>& list) override;
    bool AddList(const std::vector<kit::ListItem*>& list, int32_t index) override;
    // Hierarchical lists: gives the item the level below the superitem's and adds it after the
    // superitem's last subitem. The superitem is not marked as one.
    virtual bool AddUnder(kit::ListItem* item, kit::ListItem* superitem);
    // Removing a row of a hierarchical list takes its subitems along, from both lists.
    bool RemoveItem(kit::ListItem* item) override;
    kit::ListItem* RemoveItem(int32_t index) override;
    bool RemoveItems(int32_t index, int32_t count) override;
    void MakeEmpty() override;
    // Both mark the item a superitem. Expanding a shown row of a hierarchical list shows its
    // subitems (not those of collapsed subitems); collapsing hides them. The arrow is redrawn at
    // once.
    virtual void Expand(CLVListItem* item);
    virtual void Collapse(CLVListItem* item);
    // Whether the full list's row at the index is expanded; false when there is none.
    bool IsExpanded(int32_t fullIndex) const;
    // The nearest row above the item in the full list with a lower level; null when none.
    CLVListItem* Superitem(const CLVListItem* item) const;
    // How many rows below the item in the full list have a greater level; 0 when it is absent.
    int32_t FullListNumberOfSubitems(const CLVListItem* item) const;

    // The full list.
    int32_t FullListCountItems() const;
    bool FullListIsEmpty() const;
    CLVListItem* FullListFirstItem() const;
    CLVListItem* FullListLastItem() const;
    CLVListItem* FullListItemAt(int32_t fullIndex) const;
    int32_t FullListIndexOf(const CLVListItem* item) const;
    // The full-list index of the shown row under the point, -1 when none.
    int32_t FullListIndexOf(kit::Point where) const;
    bool FullListHasItem(const CLVListItem* item) const;
    // The full-list index of the n-th selected shown row, -1 when none.
    int32_t FullListCurrentSelection(int32_t n = 0) const;
    // Calls `visit` for each row of the full list in order until it returns true.
    void FullListDoForEach(const std::function<bool(CLVListItem*)>& visit);

    // Scrolls the list and keeps the header in step horizontally.
    void ScrollTo(kit::Point where) override;

    CLVColumnLabelView* Header() const { return header; }
    CLVContainerView* Container() const { return container; }
    bool IsHierarchical() const { return hierarchical; }
    // The columns left to right, hidden ones included.
    const std::vector<CLVColumn*>& DisplayOrderList() const { return displayOrder; }
    // The index of the shown expander column, -1 when there is none.
    int32_t ExpanderIndex() const { return expanderIndex; }
    const kit::Bitmap& CollapsedArrow() const { return collapsedArrow; }
    const kit::Bitmap& ExpandedArrow() const { return expandedArrow; }
    // The row's cell in the column (list coordinates); kNoRect when the column is hidden, the
    // row does not exist or the cell is empty.
    kit::Rect CellFrame(int32_t column, int32_t row) const;

    // The text assistive tools read for a row's cell: the cell's text, empty for a bitmap or an
    // empty cell.
    virtual QString AccessibleCellText(int32_t row, int32_t column) const;

    // Reports a call from a thread other than the GUI thread; the call then proceeds.
    static void AssertWindowLocked();

protected:
    void MouseDown(const kit::MouseEvent& event) override;
    void MouseMoved(const kit::MouseEvent& event) override;
    void MouseUp(const kit::MouseEvent& event) override;
    void FrameResized(float width, float height) override;
    void ItemsChanged() override;
    void SelectionChanged() override;
    void PaletteChanged() override;

private:
    friend class CLVColumn;
    friend class CLVColumnLabelView;

    // Lays out the columns and hands the data rectangle to the container.
    void UpdateColumnSizesDataRectSizeScrollBars(bool scrollingAllowed);
    // After columns changed: cancel a header gesture, lay out, redraw header and list.
    void RefreshColumns();
    // The sort keys with their column indexes and modes.
    std::vector<CLVSortKey> KeyList() const;
    void InvalidateHeaderArea(const CLVColumn* column);
    // Appends the column as the least significant key (a column without a mode sorts
    // ascending), re-sorts and redraws its header area.
    void AppendSortKey(int32_t index, CLVColumn* column);
    bool AddItemPrivate(CLVListItem* item, int32_t index);
    // Where the shown row's expander arrow stands with the columns as they are now, which is
    // where the next paint draws it; kNoRect when it has none.
    kit::Rect ArrowFrame(int32_t row) const;
    // Redraws the expander cell and arrow of a shown row now.
    void RedrawArrow(CLVListItem* item);
    // Calls `visit` for each row the item hooks tell: every row of the full list in a
    // hierarchical list, else every row; with its row in the visible list, -1 when hidden.
    void ForEachHookItem(const std::function<void(CLVListItem*, int32_t)>& visit) const;
    // Takes a column out of every column list and clears its parent.
    void DetachColumn(CLVColumn* column);
    void EmbedInContainer(bool horizontal, bool vertical, bool corner, kit::border_style border);
    int32_t LastSelection() const;

    CLVColumnLabelView* header = nullptr;
    CLVContainerView* container = nullptr;
    bool hierarchical;
    std::vector<CLVColumn*> columns;
    std::vector<CLVColumn*> displayOrder;
    std::vector<CLVColumn*> sortKeys;
    CLVCompareFuncPtr compareFunc = nullptr;
    kit::GapList<CLVListItem, &CLVListItem::fullListSlot> fullList;
    kit::Bitmap collapsedArrow;
    kit::Bitmap expandedArrow;
    int32_t expanderIndex = -1;
    bool dragPending = false;
    kit::Point mouseDownPoint;
    int32_t mouseDownIndex = -1;
    // The row the last press selected, -1 when it selected none.
    int32_t rowSelectedByPress = -1;
};
