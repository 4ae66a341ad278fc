// SPDX-License-Identifier: GPL-3.0-or-later
#include "ColumnListView/ColumnListView.h"

#include "ColumnListView/CLVAccessible.h"
#include "ColumnListView/CLVArrows.h"
#include "ColumnListView/CLVColors.h"
#include "ColumnListView/CLVGeometry.h"
#include "ColumnListView/CLVOutline.h"

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

template <class T> bool Contains(const std::vector<T>& list, const T& value) {
    return std::find(list.begin(), list.end(), value) != list.end();
}

bool IsSortable(const CLVColumn* column) {
    return column && (column->Flags() & CLV_COL_SORTABLE);
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
    SetViewColor(ListColors().background);
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
    header->UpdateDragGroups();
    InstallColumnListAccessibility();
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
    header->CancelGesture();
    UpdateColumnSizesDataRectSizeScrollBars(true);
    header->UpdateDragGroups();
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

kit::Rect ColumnListView::ArrowFrame(int32_t row) const {
    const auto* item = static_cast<const CLVListItem*>(ItemAt(row));
    const CLVColumn* column = ColumnAt(expanderIndex);
    if (!item || !item->IsSuperItem() || !column) {
        return kNoRect;
    }
    const kit::Rect cell = CellFrame(expanderIndex, row);
    return IsSet(cell) ? ExpanderArrowRect(cell, column->ColumnEnd(),
                                           item->ExpanderShift(expanderIndex, this))
                       : kNoRect;
}

void ColumnListView::ForEachHookItem(
    const std::function<void(CLVListItem*, int32_t)>& visit) const {
    if (hierarchical) {
        for (size_t i = 0; i < fullList.size(); i++) {
            visit(fullList[i], IndexOf(fullList[i]));
        }
        return;
    }
    for (int32_t row = 0; row < CountItems(); row++) {
        visit(static_cast<CLVListItem*>(ItemAt(row)), row);
    }
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
    ForEachHookItem([&](CLVListItem* item, int32_t row) {
        float width = newWidth;
        if (shifted) {
            const float d = static_cast<float>(item->OutlineLevel()) * kOutlineIndent;
            if (expander) {
                width = end + d > limit ? newWidth + (limit - end) : newWidth + d;
            } else if (end + d > limit) {
                width = std::max(0.0f, newWidth - (end + d - limit));
            }
            if (d > 0.0f && row >= 0) {
                const float bound = std::min(end + d, limit);
                if (end <= bound) {
                    const kit::Rect frame = ItemFrame(row);
                    Invalidate(kit::Rect(end, frame.top, bound, frame.bottom));
                }
            }
        }
        item->ColumnWidthChanged(index, width, this);
    });
}

void ColumnListView::DisplayOrderChanged(const int32_t* /*order*/) {
    for (int32_t index = 0; index < CountColumns(); index++) {
        if (!(columns[static_cast<size_t>(index)]->Flags() & CLV_COL_NOTIFY_ITEMS)) {
            continue;
        }
        ForEachHookItem([&](CLVListItem* item, int32_t row) {
            item->FrameChanged(index, CellFrame(index, row), this);
        });
    }
}

void ColumnListView::SortingChanged() {}

void ColumnListView::InvalidateHeaderArea(const CLVColumn* column) {
    const kit::Rect hb = header->Bounds();
    header->Invalidate(kit::Rect(column->ColumnStart(), hb.top, column->ColumnEnd(), hb.bottom));
}

void ColumnListView::SetSortKey(int32_t index) {
    AssertWindowLocked();
    CLVColumn* column = index >= 0 ? ColumnAt(index) : nullptr;
    if (index >= 0 && !IsSortable(column)) {
        return;
    }
    if (column && !sortKeys.empty() && sortKeys.front() == column) {
        SortingChanged();
        return;
    }
    for (const CLVColumn* key : sortKeys) {
        if (key->SortMode() != CLVSortNone) {
            InvalidateHeaderArea(key);
        }
    }
    sortKeys.clear();
    if (column) {
        AppendSortKey(index, column);
    }
    SortingChanged();
}

void ColumnListView::AddSortKey(int32_t index) {
    AssertWindowLocked();
    CLVColumn* column = index >= 0 ? ColumnAt(index) : nullptr;
    if (index >= 0 && !IsSortable(column)) {
        return;
    }
    if (column && !Contains(sortKeys, column)) {
        AppendSortKey(index, column);
    }
    SortingChanged();
}

void ColumnListView::AppendSortKey(int32_t index, CLVColumn* column) {
    sortKeys.push_back(column);
    if (column->SortMode() == CLVSortNone) {
        SetSortMode(index, CLVSortAscending);
    }
    SortItems();
    InvalidateHeaderArea(column);
}

void ColumnListView::SetSortMode(int32_t index, CLVSortMode mode) {
    AssertWindowLocked();
    CLVColumn* column = index >= 0 ? ColumnAt(index) : nullptr;
    if (!IsSortable(column)) {
        return;
    }
    if (mode != column->sortMode) {
        column->sortMode = mode;
        if (mode == CLVSortNone) {
            Erase(sortKeys, column);
        }
        SortItems();
        InvalidateHeaderArea(column);
    }
    SortingChanged();
}

void ColumnListView::ReverseSortMode(int32_t index) {
    AssertWindowLocked();
    const CLVColumn* column = index >= 0 ? ColumnAt(index) : nullptr;
    if (IsSortable(column)) {
        SetSortMode(index, NextSortMode(column->SortMode()));
    }
}

void ColumnListView::SetSorting(int32_t count, const int32_t* indexes, const CLVSortMode* modes) {
    AssertWindowLocked();
    if (count > 0 && (!indexes || !modes)) {
        return;
    }
    for (const CLVColumn* key : sortKeys) {
        if (key->SortMode() != CLVSortNone) {
            InvalidateHeaderArea(key);
        }
    }
    sortKeys.clear();
    for (int32_t i = 0; i < count; i++) {
        if (i == 0) {
            SetSortKey(indexes[i]);
        } else {
            AddSortKey(indexes[i]);
        }
        SetSortMode(indexes[i], modes[i]);
    }
    SortingChanged();
}

int32_t ColumnListView::Sorting(int32_t* indexes, CLVSortMode* modes) const {
    AssertWindowLocked();
    const std::vector<CLVSortKey> keys = KeyList();
    for (size_t i = 0; i < keys.size(); i++) {
        if (indexes) {
            indexes[i] = keys[i].column;
        }
        if (modes) {
            modes[i] = keys[i].mode;
        }
    }
    return static_cast<int32_t>(keys.size());
}

std::vector<CLVSortKey> ColumnListView::KeyList() const {
    std::vector<CLVSortKey> keys;
    keys.reserve(sortKeys.size());
    for (const CLVColumn* column : sortKeys) {
        keys.push_back({IndexOfColumn(column), column->SortMode()});
    }
    return keys;
}

void ColumnListView::SortItems() {
    AssertWindowLocked();
    const std::vector<CLVSortKey> keys = KeyList();
    // Without keys or a compare function every pair is equal: a stable sort keeps the order.
    if (keys.empty() || !compareFunc) {
        return;
    }
    const CLVCompareFuncPtr compare = compareFunc;
    const auto byKeys = [&keys, compare](const kit::ListItem* a, const kit::ListItem* b) {
        const auto* x = static_cast<const CLVListItem*>(a);
        const auto* y = static_cast<const CLVListItem*>(b);
        return CompareByKeys(keys, [&](int32_t column) { return compare(x, y, column); });
    };
    if (!hierarchical) {
        if (CountItems() > 0) {
            kit::ListView::SortItems(byKeys);
        }
        return;
    }
    if (fullList.empty()) {
        return;
    }
    const std::vector<int32_t> order = outline::SortOutline(
        FullListCountItems(),
        [this](int32_t i) { return fullList[static_cast<size_t>(i)]->OutlineLevel(); },
        [&](int32_t i, int32_t j) {
            return byKeys(fullList[static_cast<size_t>(i)], fullList[static_cast<size_t>(j)]) < 0;
        });
    std::vector<CLVListItem*> sorted;
    sorted.reserve(fullList.size());
    for (const int32_t i : order) {
        sorted.push_back(fullList[static_cast<size_t>(i)]);
    }
    fullList.Assign(std::move(sorted));

    // The shown rows take the full list's order.
    kit::ListView::SortItems([this](const kit::ListItem* a, const kit::ListItem* b) {
        return fullList.IndexOf(static_cast<const CLVListItem*>(a)) <
                       fullList.IndexOf(static_cast<const CLVListItem*>(b))
                   ? -1
                   : 1;
    });
}

int32_t ColumnListView::SortedIndex(const CLVListItem* item) const {
    AssertWindowLocked();
    const std::vector<CLVSortKey> keys = KeyList();
    int32_t first = 0;
    int32_t last = CountItems();
    if (keys.empty() || !compareFunc) {
        return last;
    }
    while (first < last) {
        const int32_t middle = first + (last - first) / 2;
        const auto* row = static_cast<const CLVListItem*>(ItemAt(middle));
        const int order =
            CompareByKeys(keys, [&](int32_t column) { return compareFunc(item, row, column); });
        if (order < 0) {
            last = middle;
        } else {
            first = middle + 1;
        }
    }
    return first;
}

void ColumnListView::SetSortFunction(CLVCompareFuncPtr compare) {
    AssertWindowLocked();
    compareFunc = compare;
}

bool ColumnListView::AddItem(kit::ListItem* item) {
    AssertWindowLocked();
    return AddItem(item, hierarchical ? FullListCountItems() : CountItems());
}

bool ColumnListView::AddItem(kit::ListItem* item, int32_t index) {
    AssertWindowLocked();
    auto* row = dynamic_cast<CLVListItem*>(item);
    return row && AddItemPrivate(row, index);
}

bool ColumnListView::AddItemPrivate(CLVListItem* item, int32_t index) {
    if (!hierarchical) {
        return kit::ListView::AddItem(item, index);
    }
    if (index < 0 || index > FullListCountItems() || item->outlineList || item->IsInList()) {
        return false;
    }
    const auto level = [this](int32_t i) {
        return fullList[static_cast<size_t>(i)]->OutlineLevel();
    };
    // Shown when the superitem it will have is expanded and shown, or when it will have none.
    bool shown = true;
    if (item->OutlineLevel() > 0) {
        for (int32_t i = index - 1; i >= 0; i--) {
            if (level(i) < item->OutlineLevel()) {
                const CLVListItem* superitem = fullList[static_cast<size_t>(i)];
                shown = superitem->IsExpanded() && HasItem(superitem);
                break;
            }
        }
    }
    if (shown) {
        int32_t row = 0;
        for (int32_t i = index - 1; i >= 0; i--) {
            const int32_t above = IndexOf(fullList[static_cast<size_t>(i)]);
            if (above >= 0) {
                row = above + 1;
                break;
            }
        }
        if (!kit::ListView::AddItem(item, row)) {
            return false;
        }
    }
    fullList.Insert(static_cast<size_t>(index), std::span<CLVListItem* const>(&item, 1));
    item->outlineList = this;
    return true;
}

bool ColumnListView::AddList(const std::vector<kit::ListItem*>& list) {
    AssertWindowLocked();
    return AddList(list, hierarchical ? FullListCountItems() : CountItems());
}

bool ColumnListView::AddList(const std::vector<kit::ListItem*>& list, int32_t index) {
    AssertWindowLocked();
    return kit::ListView::AddList(list, index);
}

bool ColumnListView::AddUnder(kit::ListItem* item, kit::ListItem* superitem) {
    AssertWindowLocked();
    auto* row = dynamic_cast<CLVListItem*>(item);
    const auto* above = dynamic_cast<CLVListItem*>(superitem);
    const int32_t index = hierarchical && row ? FullListIndexOf(above) : -1;
    if (index < 0) {
        return false;
    }
    const uint32_t oldLevel = row->OutlineLevel();
    row->SetOutlineLevel(above->OutlineLevel() + 1);
    const int32_t end = outline::SubtreeEnd(FullListCountItems(), index, [this](int32_t i) {
        return fullList[static_cast<size_t>(i)]->OutlineLevel();
    });
    if (!AddItemPrivate(row, end)) {
        row->SetOutlineLevel(oldLevel);
        return false;
    }
    return true;
}

bool ColumnListView::RemoveItem(kit::ListItem* item) {
    AssertWindowLocked();
    const auto* row = dynamic_cast<CLVListItem*>(item);
    if (!row) {
        return false;
    }
    if (!hierarchical) {
        return kit::ListView::RemoveItem(item);
    }
    const int32_t index = FullListIndexOf(row);
    return index >= 0 && RemoveItems(index, 1);
}

kit::ListItem* ColumnListView::RemoveItem(int32_t index) {
    AssertWindowLocked();
    if (!hierarchical) {
        return kit::ListView::RemoveItem(index);
    }
    CLVListItem* item = FullListItemAt(index);
    return item && RemoveItems(index, 1) ? item : nullptr;
}

bool ColumnListView::RemoveItems(int32_t index, int32_t count) {
    AssertWindowLocked();
    if (!hierarchical) {
        return kit::ListView::RemoveItems(index, count);
    }
    if (index < 0 || count < 0 || count > FullListCountItems() - index) {
        return false;
    }
    const int32_t end = outline::RemovalEnd(FullListCountItems(), index, count, [this](int32_t i) {
        return fullList[static_cast<size_t>(i)]->OutlineLevel();
    });
    // The shown rows of the range stand together in the visible list.
    int32_t firstRow = -1;
    int32_t shownRows = 0;
    for (int32_t i = index; i < end; i++) {
        const int32_t row = IndexOf(fullList[static_cast<size_t>(i)]);
        if (row >= 0) {
            firstRow = shownRows == 0 ? row : firstRow;
            shownRows++;
        }
    }
    if (shownRows > 0 && !kit::ListView::RemoveItems(firstRow, shownRows)) {
        return false;
    }
    for (int32_t i = index; i < end; i++) {
        fullList[static_cast<size_t>(i)]->outlineList = nullptr;
    }
    fullList.Erase(static_cast<size_t>(index), static_cast<size_t>(end - index));
    return true;
}

void ColumnListView::MakeEmpty() {
    AssertWindowLocked();
    for (size_t i = 0; i < fullList.size(); i++) {
        fullList[i]->outlineList = nullptr;
    }
    fullList.Clear();
    kit::ListView::RemoveItems(0, CountItems());
}

void ColumnListView::RedrawArrow(CLVListItem* item) {
    if (expanderIndex != -1) {
        DrawNow(item->ExpanderColumnRect());
    }
}

void ColumnListView::Expand(CLVListItem* item) {
    AssertWindowLocked();
    if (!item) {
        return;
    }
    item->SetSuperItem(true);
    if (item->IsExpanded()) {
        return;
    }
    item->SetExpanded(true);
    const int32_t row = hierarchical ? IndexOf(item) : -1;
    const int32_t index = row >= 0 ? FullListIndexOf(item) : -1;
    if (index < 0) {
        return;
    }
    RedrawArrow(item);
    const std::vector<int32_t> shown = outline::ShownSubitems(
        FullListCountItems(), index,
        [this](int32_t i) { return fullList[static_cast<size_t>(i)]->OutlineLevel(); },
        [this](int32_t i) { return fullList[static_cast<size_t>(i)]->IsExpanded(); });
    std::vector<kit::ListItem*> rows;
    rows.reserve(shown.size());
    for (const int32_t i : shown) {
        rows.push_back(fullList[static_cast<size_t>(i)]);
    }
    InsertItems(row + 1, rows);
}

void ColumnListView::Collapse(CLVListItem* item) {
    AssertWindowLocked();
    if (!item) {
        return;
    }
    item->SetSuperItem(true);
    if (!item->IsExpanded()) {
        return;
    }
    item->SetExpanded(false);
    const int32_t row = hierarchical ? IndexOf(item) : -1;
    if (row < 0) {
        return;
    }
    RedrawArrow(item);
    const int32_t end = outline::SubtreeEnd(
        CountItems(), row, [this](int32_t i) { return ItemAt(i)->OutlineLevel(); });
    kit::ListView::RemoveItems(row + 1, end - row - 1);
}

bool ColumnListView::IsExpanded(int32_t fullIndex) const {
    AssertWindowLocked();
    const CLVListItem* item = FullListItemAt(fullIndex);
    return item && item->IsExpanded();
}

CLVListItem* ColumnListView::Superitem(const CLVListItem* item) const {
    AssertWindowLocked();
    const int32_t index = FullListIndexOf(item);
    if (index < 0) {
        return nullptr;
    }
    const int32_t above = outline::SuperitemIndex(
        index, [this](int32_t i) { return fullList[static_cast<size_t>(i)]->OutlineLevel(); });
    return above >= 0 ? fullList[static_cast<size_t>(above)] : nullptr;
}

int32_t ColumnListView::FullListNumberOfSubitems(const CLVListItem* item) const {
    AssertWindowLocked();
    const int32_t index = FullListIndexOf(item);
    if (index < 0) {
        return 0;
    }
    return outline::SubtreeEnd(
               FullListCountItems(), index,
               [this](int32_t i) { return fullList[static_cast<size_t>(i)]->OutlineLevel(); }) -
           index - 1;
}

int32_t ColumnListView::FullListCountItems() const {
    AssertWindowLocked();
    return static_cast<int32_t>(fullList.size());
}

bool ColumnListView::FullListIsEmpty() const {
    AssertWindowLocked();
    return fullList.empty();
}

CLVListItem* ColumnListView::FullListFirstItem() const {
    return FullListItemAt(0);
}

CLVListItem* ColumnListView::FullListLastItem() const {
    return FullListItemAt(FullListCountItems() - 1);
}

CLVListItem* ColumnListView::FullListItemAt(int32_t fullIndex) const {
    AssertWindowLocked();
    return fullIndex >= 0 && fullIndex < FullListCountItems()
               ? fullList[static_cast<size_t>(fullIndex)]
               : nullptr;
}

int32_t ColumnListView::FullListIndexOf(const CLVListItem* item) const {
    AssertWindowLocked();
    return FullListHasItem(item) ? static_cast<int32_t>(fullList.IndexOf(item)) : -1;
}

int32_t ColumnListView::FullListIndexOf(kit::Point where) const {
    const auto* item = static_cast<const CLVListItem*>(ItemAt(IndexOf(where)));
    return item ? FullListIndexOf(item) : -1;
}

bool ColumnListView::FullListHasItem(const CLVListItem* item) const {
    AssertWindowLocked();
    return item && item->outlineList == this;
}

int32_t ColumnListView::FullListCurrentSelection(int32_t n) const {
    const auto* item = static_cast<const CLVListItem*>(ItemAt(CurrentSelection(n)));
    return item ? FullListIndexOf(item) : -1;
}

void ColumnListView::FullListDoForEach(const std::function<bool(CLVListItem*)>& visit) {
    AssertWindowLocked();
    for (size_t i = 0; i < fullList.size(); i++) {
        if (visit(fullList[i])) {
            return;
        }
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
    const kit::Rect arrow = ArrowFrame(index);
    if (IsSet(arrow) && arrow.Contains(event.where)) {
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

void ColumnListView::PaletteChanged() {
    SetViewColor(ListColors().background);
    Invalidate();
}

void ColumnListView::ItemsChanged() {
    UpdateColumnSizesDataRectSizeScrollBars(true);
    NotifyAccessibleRowsChanged(this);
}

void ColumnListView::SelectionChanged() {
    NotifyAccessibleSelectionChanged(this);
}

QString ColumnListView::AccessibleCellText(int32_t row, int32_t column) const {
    const auto* item = dynamic_cast<const CLVEasyItem*>(ItemAt(row));
    const char* text = item ? item->GetColumnContentText(column) : nullptr;
    return QString::fromUtf8(text ? text : "");
}
