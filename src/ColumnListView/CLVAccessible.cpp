// SPDX-License-Identifier: GPL-3.0-or-later
#include "ColumnListView/CLVAccessible.h"

#include "ColumnListView/ColumnListView.h"

#include <QAccessibleTableInterface>
#include <QAccessibleWidget>
#include <QPointer>
#include <map>
#include <utility>

namespace {

// The list's shown columns, left to right: the table's columns.
std::vector<int32_t> ShownColumns(const ColumnListView& list) {
    std::vector<int32_t> shown;
    for (const CLVColumn* column : list.DisplayOrderList()) {
        if (column->IsShown()) {
            shown.push_back(list.IndexOfColumn(column));
        }
    }
    return shown;
}

// A part of the list without children of its own and without a widget: a cell or a header.
class ListPart : public QAccessibleInterface {
public:
    explicit ListPart(ColumnListView* owner) : list(owner) {}

    QObject* object() const override { return nullptr; }
    QWindow* window() const override { return list ? list->window()->windowHandle() : nullptr; }
    QAccessibleInterface* parent() const override {
        return list ? QAccessible::queryAccessibleInterface(list) : nullptr;
    }
    QAccessibleInterface* child(int /*index*/) const override { return nullptr; }
    QAccessibleInterface* childAt(int /*x*/, int /*y*/) const override { return nullptr; }
    int childCount() const override { return 0; }
    int indexOfChild(const QAccessibleInterface* /*child*/) const override { return -1; }
    void setText(QAccessible::Text /*t*/, const QString& /*text*/) override {}

protected:
    QPointer<ColumnListView> list;
};

// The header of a shown column, as screen readers name a cell by its column ("Title, Song").
class HeaderCell : public ListPart {
public:
    HeaderCell(ColumnListView* owner, int tableColumn) : ListPart(owner), column(tableColumn) {}

    bool isValid() const override {
        return list && column < static_cast<int>(ShownColumns(*list).size());
    }
    QString text(QAccessible::Text t) const override {
        if (!isValid() || t != QAccessible::Name) {
            return {};
        }
        const char* label = Column()->GetLabel();
        return QString::fromUtf8(label ? label : "");
    }
    QRect rect() const override {
        if (!isValid() || list->Header() == nullptr) {
            return {};
        }
        const QRect cell = list->Header()->ConvertToWidget(Column()->HeaderRect());
        return {list->Header()->mapToGlobal(cell.topLeft()), cell.size()};
    }
    QAccessible::Role role() const override { return QAccessible::ColumnHeader; }
    QAccessible::State state() const override { return {}; }

private:
    const CLVColumn* Column() const {
        return list->ColumnAt(ShownColumns(*list)[static_cast<size_t>(column)]);
    }

    int column;
};

class TableCell : public ListPart, public QAccessibleTableCellInterface {
public:
    TableCell(ColumnListView* owner, int tableRow, int tableColumn)
        : ListPart(owner), row(tableRow), column(tableColumn) {}

    bool isValid() const override {
        return list && row < list->CountItems() && column < ColumnCount();
    }
    QString text(QAccessible::Text t) const override {
        if (!isValid() || (t != QAccessible::Name && t != QAccessible::Value)) {
            return {};
        }
        return list->AccessibleCellText(row, ShownColumns(*list)[static_cast<size_t>(column)]);
    }
    QRect rect() const override {
        if (!isValid()) {
            return {};
        }
        const int32_t index = ShownColumns(*list)[static_cast<size_t>(column)];
        const QRect cell = list->ConvertToWidget(list->CellFrame(index, row));
        return {list->mapToGlobal(cell.topLeft()), cell.size()};
    }
    QAccessible::Role role() const override { return QAccessible::Cell; }
    QAccessible::State state() const override {
        QAccessible::State s;
        s.selectable = true;
        s.selected = isSelected();
        return s;
    }
    void* interface_cast(QAccessible::InterfaceType type) override {
        return type == QAccessible::TableCellInterface
                   ? static_cast<QAccessibleTableCellInterface*>(this)
                   : nullptr;
    }

    bool isSelected() const override { return list && list->IsItemSelected(row); }
    QList<QAccessibleInterface*> columnHeaderCells() const override;
    QList<QAccessibleInterface*> rowHeaderCells() const override { return {}; }
    int columnIndex() const override { return column; }
    int rowIndex() const override { return row; }
    int columnExtent() const override { return 1; }
    int rowExtent() const override { return 1; }
    QAccessibleInterface* table() const override { return parent(); }

private:
    int ColumnCount() const { return static_cast<int>(ShownColumns(*list).size()); }

    int row;
    int column;
};

class Table : public QAccessibleWidget, public QAccessibleTableInterface {
public:
    explicit Table(ColumnListView* owner)
        : QAccessibleWidget(owner, QAccessible::Table), list(owner) {}
    ~Table() override { ForgetCells(); }
    Table(const Table&) = delete;
    Table& operator=(const Table&) = delete;

    void* interface_cast(QAccessible::InterfaceType type) override {
        return type == QAccessible::TableInterface ? static_cast<QAccessibleTableInterface*>(this)
                                                   : QAccessibleWidget::interface_cast(type);
    }
    int childCount() const override { return rowCount() * columnCount(); }
    QAccessibleInterface* child(int index) const override {
        const int columns = columnCount();
        return index >= 0 && columns > 0 ? cellAt(index / columns, index % columns) : nullptr;
    }
    int indexOfChild(const QAccessibleInterface* child) const override {
        const QAccessibleTableCellInterface* cell =
            const_cast<QAccessibleInterface*>(child)->tableCellInterface();
        return cell ? cell->rowIndex() * columnCount() + cell->columnIndex() : -1;
    }

    QAccessibleInterface* caption() const override { return nullptr; }
    QAccessibleInterface* summary() const override { return nullptr; }
    QAccessibleInterface* cellAt(int row, int column) const override {
        if (row < 0 || column < 0 || row >= rowCount() || column >= columnCount()) {
            return nullptr;
        }
        auto found = cells.find({row, column});
        if (found == cells.end()) {
            // Qt's registry owns the cell from here on and deletes it.
            // NOLINTBEGIN(clang-analyzer-cplusplus.NewDeleteLeaks)
            const QAccessible::Id id =
                QAccessible::registerAccessibleInterface(new TableCell(list, row, column));
            // NOLINTEND(clang-analyzer-cplusplus.NewDeleteLeaks)
            found = cells.emplace(std::pair{row, column}, id).first;
        }
        return QAccessible::accessibleInterface(found->second);
    }
    int rowCount() const override { return list ? list->CountItems() : 0; }
    int columnCount() const override {
        return list ? static_cast<int>(ShownColumns(*list).size()) : 0;
    }
    QString columnDescription(int column) const override {
        if (column < 0 || column >= columnCount()) {
            return {};
        }
        const char* label =
            list->ColumnAt(ShownColumns(*list)[static_cast<size_t>(column)])->GetLabel();
        return QString::fromUtf8(label ? label : "");
    }
    QString rowDescription(int /*row*/) const override { return {}; }
    // The header of a shown column, made on demand as the cells are.
    QAccessibleInterface* HeaderAt(int column) const {
        if (column < 0 || column >= columnCount()) {
            return nullptr;
        }
        auto found = headers.find(column);
        if (found == headers.end()) {
            // NOLINTBEGIN(clang-analyzer-cplusplus.NewDeleteLeaks)
            const QAccessible::Id id =
                QAccessible::registerAccessibleInterface(new HeaderCell(list, column));
            // NOLINTEND(clang-analyzer-cplusplus.NewDeleteLeaks)
            found = headers.emplace(column, id).first;
        }
        return QAccessible::accessibleInterface(found->second);
    }

    int selectedCellCount() const override { return selectedRowCount() * columnCount(); }
    int selectedColumnCount() const override { return 0; }
    int selectedRowCount() const override { return static_cast<int>(selectedRows().size()); }
    QList<QAccessibleInterface*> selectedCells() const override {
        QList<QAccessibleInterface*> selected;
        for (int row : selectedRows()) {
            for (int column = 0; column < columnCount(); ++column) {
                selected << cellAt(row, column);
            }
        }
        return selected;
    }
    QList<int> selectedColumns() const override { return {}; }
    QList<int> selectedRows() const override {
        QList<int> rows;
        for (int32_t n = 0; list && list->CurrentSelection(n) >= 0; ++n) {
            rows << list->CurrentSelection(n);
        }
        return rows;
    }
    bool isColumnSelected(int /*column*/) const override { return false; }
    bool isRowSelected(int row) const override { return list && list->IsItemSelected(row); }
    bool selectRow(int row) override {
        if (row < 0 || row >= rowCount()) {
            return false;
        }
        list->Select(row, list->ListType() == kit::B_MULTIPLE_SELECTION_LIST);
        return true;
    }
    bool selectColumn(int /*column*/) override { return false; }
    bool unselectRow(int row) override {
        if (row < 0 || row >= rowCount()) {
            return false;
        }
        list->Deselect(row);
        return true;
    }
    bool unselectColumn(int /*column*/) override { return false; }
    void modelChange(QAccessibleTableModelChangeEvent* /*event*/) override { ForgetCells(); }

private:
    // Cells are made on demand and forgotten whenever the rows or columns change.
    void ForgetCells() {
        for (const auto& [place, id] : cells) {
            QAccessible::deleteAccessibleInterface(id);
        }
        cells.clear();
        for (const auto& [column, id] : headers) {
            QAccessible::deleteAccessibleInterface(id);
        }
        headers.clear();
    }

    QPointer<ColumnListView> list;
    mutable std::map<std::pair<int, int>, QAccessible::Id> cells;
    mutable std::map<int, QAccessible::Id> headers;
};

QList<QAccessibleInterface*> TableCell::columnHeaderCells() const {
    const auto* owner = dynamic_cast<const Table*>(parent());
    QAccessibleInterface* header = owner != nullptr ? owner->HeaderAt(column) : nullptr;
    return header != nullptr ? QList<QAccessibleInterface*>{header}
                             : QList<QAccessibleInterface*>{};
}

QAccessibleInterface* MakeTable(const QString& /*className*/, QObject* object) {
    if (auto* list = dynamic_cast<ColumnListView*>(object)) {
        return new Table(list);
    }
    return nullptr;
}

} // namespace

void InstallColumnListAccessibility() {
    static const bool installed = [] {
        QAccessible::installFactory(MakeTable);
        return true;
    }();
    (void)installed;
}

void NotifyAccessibleRowsChanged(ColumnListView* list) {
    if (!QAccessible::isActive()) {
        return;
    }
    QAccessibleTableModelChangeEvent change(list, QAccessibleTableModelChangeEvent::ModelReset);
    QAccessible::updateAccessibility(&change);
}

void NotifyAccessibleSelectionChanged(ColumnListView* list) {
    if (!QAccessible::isActive()) {
        return;
    }
    QAccessibleEvent selection(list, QAccessible::SelectionWithin);
    QAccessible::updateAccessibility(&selection);
}
