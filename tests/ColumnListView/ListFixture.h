// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include "ColumnListView/ColumnListView.h"
#include "support/WidgetTestSetup.h"

#include <QImage>
#include <QPoint>
#include <memory>
#include <string>
#include <vector>

// A column list that records the hooks it receives.
class RecordingList : public ColumnListView {
public:
    using ColumnListView::ColumnListView;

    void ColumnWidthChanged(int32_t index, float newWidth) override;
    void DisplayOrderChanged(const int32_t* order) override;
    void SortingChanged() override { sortingChanges++; }
    void MessageReceived(kit::Message* message) override { received.push_back(*message); }

    struct Drag {
        kit::Point where;
        int32_t index;
    };
    std::vector<Drag> drags;
    std::vector<std::pair<int32_t, float>> widthChanges;
    std::vector<std::vector<int32_t>> orderChanges;
    std::vector<kit::Message> received;
    int sortingChanges = 0;

protected:
    bool InitiateDrag(kit::Point where, int32_t index, bool wasSelected) override;
};

// A row that records what its cells are told and which of them it draws.
class RecordingItem : public CLVEasyItem {
public:
    using CLVEasyItem::CLVEasyItem;
    void ColumnWidthChanged(int32_t column, float width, ColumnListView* owner) override;
    void FrameChanged(int32_t column, kit::Rect frame, ColumnListView* owner) override;
    void DrawItemColumn(kit::Painter& painter, ColumnListView* owner, kit::Rect rect,
                        int32_t column, bool complete) override;

    std::vector<std::pair<int32_t, float>> widths;
    std::vector<std::pair<int32_t, kit::Rect>> frames;
    std::vector<int32_t> drawnColumns;
};

// The rows' Name cells (column `column`) in the order of the visible list, joined by spaces.
std::string RowNames(const ColumnListView* list, int32_t column);
// The same for the full list of a hierarchical list.
std::string FullListNames(const ColumnListView* list, int32_t column);

// A column list built like the program's file list: five columns ("", "Track", "Filename",
// "Save As", "Path To File"), the first an unlabelled narrow one, in a top-level container.
struct FileListLike {
    explicit FileListLike(int rows = 0, kit::list_view_type type = kit::B_MULTIPLE_SELECTION_LIST,
                          kit::Rect frame = kit::Rect(0, 0, 420, 300));
    ~FileListLike();
    FileListLike(const FileListLike&) = delete;
    FileListLike& operator=(const FileListLike&) = delete;

    // Rows whose cells read "n" (right-justified), "file-n.wav", "save-n", "/music/file-n.wav".
    void AddRows(int count);
    // Shows the container and lets it paint.
    void Show() const;
    // The container as it paints itself now.
    QImage Grab() const;
    // A point of the list's coordinates in the container's pixels.
    QPoint ContainerPixel(float x, float y) const;
    // A point of the list's coordinates in the list widget's pixels.
    QPoint ListPixel(float x, float y) const;

    RecordingList* list = nullptr;
    CLVContainerView* container = nullptr;
    std::vector<CLVColumn*> columns;
    std::vector<std::unique_ptr<RecordingItem>> items;
};

// A hierarchical list: an expander column (index 0) followed by "Name" (index 1, indented,
// sortable), with rows added by the caller.
struct OutlineList {
    OutlineList();
    ~OutlineList();
    OutlineList(const OutlineList&) = delete;
    OutlineList& operator=(const OutlineList&) = delete;

    RecordingItem* Add(uint32_t level, bool superitem, bool expanded, const char* name);

    RecordingList* list = nullptr;
    CLVContainerView* container = nullptr;
    CLVColumn* expander = nullptr;
    CLVColumn* name = nullptr;
    std::vector<std::unique_ptr<RecordingItem>> items;
};

// The smallest rectangle holding every pixel of `area` whose colour differs from `background`.
QRect InkBox(const QImage& image, const QRect& area, QColor background);
