#pragma once

#include "ColumnListView/ColumnListView.h"

#include <QImage>
#include <QWidget>
#include <memory>
#include <string>
#include <vector>

// A column list built like the program's file list: five columns, the first an unlabelled
// narrow one, shown in a top-level container of a fixed size.
struct FileListLike {
    explicit FileListLike(int rows = 0, kit::list_view_type type = kit::B_MULTIPLE_SELECTION_LIST,
                          kit::Rect frame = kit::Rect(0, 0, 420, 300));
    ~FileListLike();

    // Rows whose cells read "Track n", "file-n.wav", "save-n", "/music/file-n.wav".
    void AddRows(int count);
    // Shows the container and waits until it has been painted.
    void Show();
    // The container as drawn, in container pixels.
    QImage Grab() const;
    // A point in the list, as the list's coordinates, converted to the list widget's pixels.
    QPoint ListPixel(float x, float y) const;

    ColumnListView* list = nullptr;
    CLVContainerView* container = nullptr;
    std::vector<CLVColumn*> columns;
    std::vector<std::unique_ptr<CLVEasyItem>> items;
};

// The colour of a pixel of an image.
QColor PixelAt(const QImage& image, QPoint p);
// The smallest rectangle holding every pixel of `area` whose colour differs from `background`.
QRect InkBox(const QImage& image, const QRect& area, QColor background);
// Saves the image under the test output folder (VAMBLE_TEST_OUTPUT or the working folder).
void SaveForInspection(const QImage& image, const std::string& name);
