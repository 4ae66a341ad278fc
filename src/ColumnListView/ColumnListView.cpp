#include "ColumnListView/ColumnListView.h"

#include "ColumnListView/CLVArrows.h"
#include "ColumnListView/CLVGeometry.h"

#include <QApplication>
#include <QThread>
#include <algorithm>
#include <cmath>
#include <cstdio>

namespace {

constexpr kit::Rect kArrowBounds{0.0f, 0.0f, 10.0f, 10.0f};
// How far the pointer may move from a press before a drag starts.
constexpr float kDragThreshold = 4.0f;

template <class T> void Erase(std::vector<T>& list, const T& value) {
    list.erase(std::remove(list.begin(), list.end(), value), list.end());
}

} // namespace

ColumnListView::ColumnListView(kit::Rect frame, CLVContainerView** containerView, const char* name,
                               kit::list_view_type listType, bool isHierarchical, bool horizontal,
                               bool vertical, bool scrollViewCorner, kit::border_style border,
                               const QFont* labelFont)
    : kit::ListView(listType), hierarchical(isHierarchical),
      collapsedArrow(kArrowBounds, CLVRightArrowData, kArrowDataLength),
      expandedArrow(kArrowBounds, CLVDownArrowData, kArrowDataLength) {
    if (name) {
        setObjectName(QString::fromUtf8(name));
    }
    setGeometry(kit::ToQRect(frame));
    const QFont headerFont = labelFont ? *labelFont : QApplication::font();
    kit::FontHeight height;
    kit::Font(headerFont).GetHeight(&height);
    const float headerBottom =
        frame.top + std::ceil(height.ascent) + std::ceil(height.descent) + 4.0f;
    header = new CLVColumnLabelView(kit::Rect(frame.left, frame.top, frame.right, headerBottom),
                                    this, headerFont);
    EmbedInContainer(horizontal, vertical, scrollViewCorner, border);
    if (containerView) {
        *containerView = container;
    }
    UpdateColumnSizesDataRectSizeScrollBars(true);
}

ColumnListView::~ColumnListView() {
    while (!columns.empty()) {
        CLVColumn* column = columns.back();
        DetachColumn(column);
        delete column;
    }
    if (container && !container->IsDestroying()) {
        CLVContainerView* doomed = container;
        container = nullptr;
        doomed->list = nullptr;
        setParent(nullptr);
        delete doomed;
    }
}

void ColumnListView::EmbedInContainer(bool horizontal, bool vertical, bool corner,
                                      kit::border_style border) {
    container = new CLVContainerView(this, horizontal, vertical, corner, border);
    container->SetTargetHeader(header);
}

void ColumnListView::AssertWindowLocked() {
    const QCoreApplication* app = QCoreApplication::instance();
    if (app && QThread::currentThread() != app->thread()) {
        std::fputs("ColumnListView/ColumnListView:242: The looper must be locked.\n", stderr);
    }
}

bool ColumnListView::AddColumn(CLVColumn* column) {
    AssertWindowLocked();
    if (!column || column->parent) {
        return false;
    }
    const bool expander = (column->Flags() & CLV_COL_EXPANDER) != 0;
    if (expander) {
        const bool hasExpander = std::any_of(columns.begin(), columns.end(), [](CLVColumn* c) {
            return (c->Flags() & CLV_COL_EXPANDER) != 0;
        });
        if (!hierarchical || hasExpander) {
            return false;
        }
        if (column->IsShown()) {
            expanderIndex = CountColumns();
        }
    }
    displayOrder.push_back(column);
    columns.push_back(column);
    column->parent = this;
    RefreshColumns();
    return true;
}

bool ColumnListView::AddColumnList(const std::vector<CLVColumn*>& newColumns) {
    AssertWindowLocked();
    const auto isExpander = [](const CLVColumn* c) { return (c->Flags() & CLV_COL_EXPANDER) != 0; };
    auto expanders =
        static_cast<int32_t>(std::count_if(columns.begin(), columns.end(), isExpander));
    for (size_t i = 0; i < newColumns.size(); i++) {
        const CLVColumn* column = newColumns[i];
        if (!column || column->parent ||
            std::find(newColumns.begin(), newColumns.begin() + static_cast<ptrdiff_t>(i), column) !=
                newColumns.begin() + static_cast<ptrdiff_t>(i)) {
            return false;
        }
        expanders += isExpander(column) ? 1 : 0;
    }
    if (expanders >= 2 || (expanders == 1 && !hierarchical)) {
        return false;
    }

    const int32_t oldCount = CountColumns();
    for (size_t i = 0; i < newColumns.size(); i++) {
        CLVColumn* column = newColumns[i];
        if (isExpander(column) && column->IsShown()) {
            expanderIndex = oldCount + static_cast<int32_t>(i);
        }
        displayOrder.push_back(column);
        column->parent = this;
    }
    columns.insert(columns.end(), newColumns.begin(), newColumns.end());
    RefreshColumns();
    return true;
}

bool ColumnListView::RemoveColumn(CLVColumn* column) {
    AssertWindowLocked();
    if (IndexOfColumn(column) < 0) {
        return false;
    }
    DetachColumn(column);
    RefreshColumns();
    return true;
}

bool ColumnListView::RemoveColumns(CLVColumn* column, int32_t count) {
    AssertWindowLocked();
    const int32_t first = IndexOfColumn(column);
    if (first < 0 || count < 0 || count > CountColumns() - first) {
        return false;
    }
    const std::vector<CLVColumn*> doomed(columns.begin() + first, columns.begin() + first + count);
    for (CLVColumn* c : doomed) {
        DetachColumn(c);
    }
    RefreshColumns();
    return true;
}

void ColumnListView::DetachColumn(CLVColumn* column) {
    const int32_t index = IndexOfColumn(column);
    Erase(sortKeys, column);
    // The expander's index follows the columns that move left under it.
    if (expanderIndex == index) {
        expanderIndex = -1;
    } else if (expanderIndex > index) {
        expanderIndex--;
    }
    Erase(displayOrder, column);
    Erase(columns, column);
    column->parent = nullptr;
}

bool ColumnListView::SetDisplayOrder(const int32_t* order) {
    AssertWindowLocked();
    const int32_t count = CountColumns();
    if (!order) {
        return false;
    }
    std::vector<bool> seen(static_cast<size_t>(count), false);
    for (int32_t i = 0; i < count; i++) {
        if (order[i] < 0 || order[i] >= count || seen[static_cast<size_t>(order[i])]) {
            return false;
        }
        seen[static_cast<size_t>(order[i])] = true;
    }
    for (int32_t i = 0; i < count; i++) {
        displayOrder[static_cast<size_t>(i)] = columns[static_cast<size_t>(order[i])];
    }
    RefreshColumns();
    DisplayOrderChanged(order);
    return true;
}

std::vector<int32_t> ColumnListView::DisplayOrder() const {
    AssertWindowLocked();
    std::vector<int32_t> order;
    order.reserve(displayOrder.size());
    for (const CLVColumn* column : displayOrder) {
        order.push_back(IndexOfColumn(column));
    }
    return order;
}

CLVColumn* ColumnListView::ColumnAt(int32_t index) const {
    AssertWindowLocked();
    return index >= 0 && index < CountColumns() ? columns[static_cast<size_t>(index)] : nullptr;
}

int32_t ColumnListView::IndexOfColumn(const CLVColumn* column) const {
    AssertWindowLocked();
    const auto it = std::find(columns.begin(), columns.end(), column);
    return it == columns.end() ? -1 : static_cast<int32_t>(it - columns.begin());
}

int32_t ColumnListView::CountColumns() const {
    AssertWindowLocked();
    return static_cast<int32_t>(columns.size());
}

void ColumnListView::ColumnsChanged() {
    RefreshColumns();
}

void ColumnListView::RefreshColumns() {
    UpdateColumnSizesDataRectSizeScrollBars(true);
    header->Invalidate();
    Invalidate();
}

void ColumnListView::UpdateColumnSizesDataRectSizeScrollBars(bool scrollingAllowed) {
    const float dataWidth = LayOutColumns(displayOrder);
    if (container) {
        container->SetDataRect(kit::Rect(0.0f, 0.0f, dataWidth, ItemsHeight()), scrollingAllowed);
    }
}

kit::Rect ColumnListView::CellFrame(int32_t column, int32_t row) const {
    const CLVColumn* col = ColumnAt(column);
    const kit::ListItem* item = ItemAt(row);
    if (!col || !col->IsShown() || !item) {
        return kNoRect;
    }
    const kit::Rect frame = ItemFrame(row);
    const float indent = static_cast<float>(item->OutlineLevel()) * kOutlineIndent;
    const kit::Rect cell = ColumnCellFrame(
        *col, indent, IndentationLimit(displayOrder, frame.right), frame.top, frame.bottom);
    return cell.left <= cell.right ? cell : kNoRect;
}

void ColumnListView::ColumnWidthChanged(int32_t index, float newWidth) {
    const CLVColumn* column = ColumnAt(index);
    if (!column || !(column->Flags() & CLV_COL_NOTIFY_ITEMS)) {
        return;
    }
    const bool expander = (column->Flags() & CLV_COL_EXPANDER) != 0;
    const bool shifted = expander || column->IsIndented();
    const float end = column->ColumnEnd();
    const float limit = IndentationLimit(displayOrder, Bounds().right);
    for (int32_t row = 0; row < CountItems(); row++) {
        auto* item = static_cast<CLVListItem*>(ItemAt(row));
        float width = newWidth;
        if (shifted) {
            const float d = static_cast<float>(item->OutlineLevel()) * kOutlineIndent;
            if (expander) {
                width = end + d > limit ? newWidth + (limit - end) : newWidth + d;
            } else if (end + d > limit) {
                width = std::max(0.0f, newWidth - (end + d - limit));
            }
            if (d > 0.0f) {
                const float bound = std::min(end + d, limit);
                if (end <= bound) {
                    const kit::Rect frame = ItemFrame(row);
                    Invalidate(kit::Rect(end, frame.top, bound, frame.bottom));
                }
            }
        }
        item->ColumnWidthChanged(index, width, this);
    }
}

void ColumnListView::DisplayOrderChanged(const int32_t* /*order*/) {
    for (int32_t index = 0; index < CountColumns(); index++) {
        if (!(columns[static_cast<size_t>(index)]->Flags() & CLV_COL_NOTIFY_ITEMS)) {
            continue;
        }
        for (int32_t row = 0; row < CountItems(); row++) {
            static_cast<CLVListItem*>(ItemAt(row))
                ->FrameChanged(index, CellFrame(index, row), this);
        }
    }
}

void ColumnListView::SortingChanged() {}

void ColumnListView::SetSortMode(int32_t index, CLVSortMode mode) {
    AssertWindowLocked();
    CLVColumn* column = ColumnAt(index);
    if (!column || !(column->Flags() & CLV_COL_SORTABLE)) {
        return;
    }
    if (mode != column->sortMode) {
        column->sortMode = mode;
        if (mode == CLVSortNone) {
            Erase(sortKeys, column);
        }
        const kit::Rect hb = header->Bounds();
        header->Invalidate(
            kit::Rect(column->ColumnStart(), hb.top, column->ColumnEnd(), hb.bottom));
    }
    SortingChanged();
}

bool ColumnListView::AddItem(kit::ListItem* item) {
    return AddItem(item, CountItems());
}

bool ColumnListView::AddItem(kit::ListItem* item, int32_t index) {
    AssertWindowLocked();
    if (!dynamic_cast<CLVListItem*>(item)) {
        return false;
    }
    return kit::ListView::AddItem(item, index);
}

void ColumnListView::Expand(CLVListItem* item) {
    AssertWindowLocked();
    item->SetSuperItem(true);
    if (item->IsExpanded()) {
        return;
    }
    item->SetExpanded(true);
    if (hierarchical && HasItem(item) && expanderIndex != -1) {
        Invalidate(item->ExpanderColumnRect());
    }
}

void ColumnListView::Collapse(CLVListItem* item) {
    AssertWindowLocked();
    item->SetSuperItem(true);
    if (!item->IsExpanded()) {
        return;
    }
    item->SetExpanded(false);
    if (hierarchical && HasItem(item) && expanderIndex != -1) {
        Invalidate(item->ExpanderColumnRect());
    }
}

void ColumnListView::ScrollTo(kit::Point where) {
    kit::ListView::ScrollTo(where);
    header->ScrollTo(kit::Point(ScrollPosition().x, 0.0f));
}

int32_t ColumnListView::LastSelection() const {
    for (int32_t i = CountItems() - 1; i >= 0; i--) {
        if (IsItemSelected(i)) {
            return i;
        }
    }
    return -1;
}

void ColumnListView::MouseDown(const kit::MouseEvent& event) {
    if (event.buttons != kit::B_PRIMARY_MOUSE_BUTTON) {
        return;
    }
    const bool shift = (event.modifiers & kit::B_SHIFT_KEY) != 0;
    const bool option = (event.modifiers & kit::B_OPTION_KEY) != 0;
    const bool multiple = ListType() == kit::B_MULTIPLE_SELECTION_LIST;
    const int32_t index = IndexOf(event.where);
    // A repeated press invokes only when the row was selected before the series began: the
    // first click of a double click on an unselected row just selects it.
    const bool selectedByThisSeries = event.clicks >= 2 && rowSelectedByPress == index;
    rowSelectedByPress = -1;
    if (index < 0) {
        if (!shift && !option) {
            DeselectAll();
        }
        return;
    }

    auto* item = static_cast<CLVListItem*>(ItemAt(index));
    const kit::Rect arrow = item->ExpanderButtonRect();
    if (item->IsSuperItem() && IsSet(arrow) && arrow.Contains(event.where)) {
        if (item->IsExpanded()) {
            Collapse(item);
        } else {
            Expand(item);
        }
        return;
    }

    if (!IsItemSelected(index)) {
        if (shift && multiple) {
            const int32_t first = CurrentSelection();
            if (first < 0) {
                Select(index);
            } else {
                Select(std::min(first, index), std::max(LastSelection(), index));
            }
        } else if (option && multiple) {
            Select(index, true);
        } else {
            Select(index);
            MakeFocus(true);
        }
        rowSelectedByPress = index;
        mouseDownIndex = -1;
    } else if (option) {
        Deselect(index);
        return;
    } else if (!shift && event.clicks >= 2 && !selectedByThisSeries) {
        Invoke();
        return;
    } else {
        // A press on a selected row narrows the selection to it when released without a drag.
        mouseDownIndex = shift ? -1 : index;
    }
    dragPending = true;
    mouseDownPoint = event.where;
}

void ColumnListView::MouseMoved(const kit::MouseEvent& event) {
    if (!dragPending) {
        return;
    }
    const kit::Point p = mouseDownPoint;
    const kit::Point at = event.where;
    if (at.x < p.x - kDragThreshold || at.x > p.x + kDragThreshold || at.y < p.y - kDragThreshold ||
        at.y > p.y + kDragThreshold) {
        InitiateDrag(p, IndexOf(p), true);
        mouseDownIndex = -1;
        dragPending = false;
    }
}

void ColumnListView::MouseUp(const kit::MouseEvent& /*event*/) {
    if (dragPending && mouseDownIndex != -1) {
        Select(mouseDownIndex);
    }
    mouseDownIndex = -1;
    dragPending = false;
}

void ColumnListView::FrameResized(float /*width*/, float /*height*/) {
    UpdateColumnSizesDataRectSizeScrollBars(true);
}

void ColumnListView::ItemsChanged() {
    UpdateColumnSizesDataRectSizeScrollBars(true);
}
