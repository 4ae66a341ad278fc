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
#include "kit/ListView.h"

#include <QFont>
#include <cstdint>
#include <vector>

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

    // Sorting: stores a sortable column's mode; CLVSortNone takes the column out of the keys.
    virtual void SetSortMode(int32_t index, CLVSortMode mode);
    // The sort keys, primary first.
    const std::vector<CLVColumn*>& SortKeys() const { return sortKeys; }

    // Items: only CLVListItems are accepted.
    bool AddItem(kit::ListItem* item) override;
    bool AddItem(kit::ListItem* item, int32_t index) override;
    // Expanding or collapsing marks the row a superitem and redraws its arrow.
    virtual void Expand(CLVListItem* item);
    virtual void Collapse(CLVListItem* item);

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

    // Reports a call from a thread other than the GUI thread; the call then proceeds.
    static void AssertWindowLocked();

protected:
    void MouseDown(const kit::MouseEvent& event) override;
    void MouseMoved(const kit::MouseEvent& event) override;
    void MouseUp(const kit::MouseEvent& event) override;
    void FrameResized(float width, float height) override;
    void ItemsChanged() override;

private:
    friend class CLVColumn;

    // Lays out the columns and hands the data rectangle to the container.
    void UpdateColumnSizesDataRectSizeScrollBars(bool scrollingAllowed);
    // After columns changed: lay out, redraw header and list.
    void RefreshColumns();
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
    kit::Bitmap collapsedArrow;
    kit::Bitmap expandedArrow;
    int32_t expanderIndex = -1;
    bool dragPending = false;
    kit::Point mouseDownPoint;
    int32_t mouseDownIndex = -1;
    // The row the last press selected, -1 when it selected none.
    int32_t rowSelectedByPress = -1;
};
