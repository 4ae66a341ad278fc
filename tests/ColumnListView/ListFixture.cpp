#include "ListFixture.h"

#include <QApplication>
#include <QDir>
#include <QTest>

FileListLike::FileListLike(int rows, kit::list_view_type type, kit::Rect frame) {
    list = new ColumnListView(frame, &container, "ListView", type, false, true, true, true,
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
        auto item = std::make_unique<CLVEasyItem>();
        item->SetColumnContent(1, n.c_str(), false, true);
        item->SetColumnContent(2, ("file-" + n + ".wav").c_str(), true, false);
        item->SetColumnContent(3, ("save-" + n).c_str(), true, false);
        item->SetColumnContent(4, ("/music/file-" + n + ".wav").c_str(), true, false);
        list->AddItem(item.get());
        items.push_back(std::move(item));
    }
}

void FileListLike::Show() {
    container->show();
    QApplication::processEvents();
    (void)QTest::qWaitForWindowExposed(container);
    QApplication::processEvents();
}

QImage FileListLike::Grab() const {
    return container->grab().toImage().convertToFormat(QImage::Format_RGB32);
}

QPoint FileListLike::ListPixel(float x, float y) const {
    const kit::Point origin = list->ScrollPosition();
    return list->mapTo(container,
                       QPoint(static_cast<int>(x - origin.x), static_cast<int>(y - origin.y)));
}

QColor PixelAt(const QImage& image, QPoint p) {
    return QColor(image.pixel(p));
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

void SaveForInspection(const QImage& image, const std::string& name) {
    const QByteArray folder = qgetenv("VAMBLE_TEST_OUTPUT");
    const QString path =
        QDir(folder.isEmpty() ? QDir::currentPath() : QString::fromLocal8Bit(folder))
            .filePath(QString::fromStdString(name));
    image.save(path);
}
