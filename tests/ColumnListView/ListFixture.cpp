// SPDX-License-Identifier: GPL-3.0-or-later
#include "ListFixture.h"

#include <QApplication>
#include <QDir>
#include <QTest>

void RecordingList::ColumnWidthChanged(int32_t index, float newWidth) {
    widthChanges.emplace_back(index, newWidth);
    ColumnListView::ColumnWidthChanged(index, newWidth);
}

void RecordingList::DisplayOrderChanged(const int32_t* order) {
    orderChanges.emplace_back(order, order + CountColumns());
    ColumnListView::DisplayOrderChanged(order);
}

bool RecordingList::InitiateDrag(kit::Point where, int32_t index, bool /*wasSelected*/) {
    drags.push_back({where, index});
    return true;
}

void RecordingItem::ColumnWidthChanged(int32_t column, float width, ColumnListView* owner) {
    widths.emplace_back(column, width);
    CLVEasyItem::ColumnWidthChanged(column, width, owner);
}

void RecordingItem::FrameChanged(int32_t column, kit::Rect frame, ColumnListView* owner) {
    frames.emplace_back(column, frame);
    CLVEasyItem::FrameChanged(column, frame, owner);
}

void RecordingItem::DrawItemColumn(kit::Painter& painter, ColumnListView* owner, kit::Rect rect,
                                   int32_t column, bool complete) {
    drawnColumns.push_back(column);
    CLVEasyItem::DrawItemColumn(painter, owner, rect, column, complete);
}

namespace {

std::string JoinNames(const std::vector<const CLVEasyItem*>& rows, int32_t column) {
    std::string names;
    for (const CLVEasyItem* row : rows) {
        const char* text = row->GetColumnContentText(column);
        names += (names.empty() ? "" : " ") + std::string(text ? text : "-");
    }
    return names;
}

} // namespace

std::string RowNames(const ColumnListView* list, int32_t column) {
    std::vector<const CLVEasyItem*> rows;
    for (int32_t i = 0; i < list->CountItems(); i++) {
        rows.push_back(dynamic_cast<const CLVEasyItem*>(list->ItemAt(i)));
    }
    return JoinNames(rows, column);
}

std::string FullListNames(const ColumnListView* list, int32_t column) {
    std::vector<const CLVEasyItem*> rows;
    for (int32_t i = 0; i < list->FullListCountItems(); i++) {
        rows.push_back(dynamic_cast<const CLVEasyItem*>(list->FullListItemAt(i)));
    }
    return JoinNames(rows, column);
}

FileListLike::FileListLike(int rows, kit::list_view_type type, kit::Rect frame) {
    list = new RecordingList(frame, &container, "ListView", type, false, true, true, true,
                             kit::B_FANCY_BORDER);
    columns = {
        new CLVColumn(nullptr, 16.0f,
                      CLV_COL_FIXED_POSITION | CLV_COL_FIXED_WIDTH | CLV_COL_JOIN_HEADER, 16.0f),
        new CLVColumn("Track", 50.0f, CLV_COL_SORTABLE | CLV_COL_ALIGN_RIGHT, 50.0f),
        new CLVColumn("Filename", 150.0f, CLV_COL_SORTABLE | CLV_COL_NOTIFY_ITEMS, 70.0f),
        new CLVColumn("Save As", 150.0f, CLV_COL_SORTABLE | CLV_COL_NOTIFY_ITEMS, 70.0f),
        new CLVColumn("Path To File", 150.0f, CLV_COL_SORTABLE | CLV_COL_NOTIFY_ITEMS, 70.0f)};
    for (CLVColumn* column : columns) {
        list->AddColumn(column);
    }
    AddRows(rows);
}

FileListLike::~FileListLike() {
    delete container;
}

void FileListLike::AddRows(int count) {
    for (int i = 0; i < count; i++) {
        const std::string n = std::to_string(items.size());
        auto item = std::make_unique<RecordingItem>();
        item->SetColumnContent(1, n.c_str(), false, true);
        item->SetColumnContent(2, ("file-" + n + ".wav").c_str(), true, false);
        item->SetColumnContent(3, ("save-" + n).c_str(), true, false);
        item->SetColumnContent(4, ("/music/file-" + n + ".wav").c_str(), true, false);
        list->AddItem(item.get());
        items.push_back(std::move(item));
    }
}

void FileListLike::Show() const {
    container->show();
    (void)QTest::qWaitForWindowExposed(container);
    QApplication::processEvents();
}

QImage FileListLike::Grab() const {
    return container->grab().toImage().convertToFormat(QImage::Format_RGB32);
}

QPoint FileListLike::ContainerPixel(float x, float y) const {
    return list->mapTo(container, ListPixel(x, y));
}

QPoint FileListLike::ListPixel(float x, float y) const {
    const kit::Point origin = list->ScrollPosition();
    return {static_cast<int>(x - origin.x), static_cast<int>(y - origin.y)};
}

OutlineList::OutlineList() {
    list = new RecordingList(kit::Rect(0, 0, 300, 200), &container, "Outline",
                             kit::B_SINGLE_SELECTION_LIST, true);
    expander = new CLVColumn(nullptr, 0.0f, CLV_COL_EXPANDER);
    name = new CLVColumn("Name", 150.0f, CLV_COL_NOTIFY_ITEMS | CLV_COL_SORTABLE, 20.0f);
    list->AddColumnList({expander, name});
}

OutlineList::~OutlineList() {
    delete container;
}

RecordingItem* OutlineList::Add(uint32_t level, bool superitem, bool expanded, const char* text) {
    items.push_back(std::make_unique<RecordingItem>(level, superitem, expanded));
    items.back()->SetColumnContent(1, text);
    list->AddItem(items.back().get());
    return items.back().get();
}

QRect InkBox(const QImage& image, const QRect& area, QColor background) {
    QRect box;
    for (int y = area.top(); y <= area.bottom(); y++) {
        for (int x = area.left(); x <= area.right(); x++) {
            if (QColor(image.pixel(x, y)) != background) {
                box |= QRect(x, y, 1, 1);
            }
        }
    }
    return box;
}
