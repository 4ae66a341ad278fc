// SPDX-License-Identifier: GPL-3.0-or-later
#include "ListFixture.h"

#include <QApplication>
#include <QScreen>
#include <cmath>
#include <gtest/gtest.h>

namespace {

const QColor kWhite(255, 255, 255);
const QColor kSelected(203, 203, 255);

QRect ToContainer(const FileListLike& f, const kit::Rect& r) {
    return {f.ContainerPixel(r.left, r.top), f.ContainerPixel(r.right, r.bottom)};
}

// The arrows as drawn: '#' outline (black), 'o' fill (palette grey), '.' the background.
const char* const kCollapsed[11] = {"...#.......", "...##......", "...#o#.....", "...#oo#....",
                                    "...#ooo#...", "...#oooo#..", "...#ooo#...", "...#oo#....",
                                    "...#o#.....", "...##......", "...#......."};
const char* const kExpanded[11] = {"...........", "...........", "...........", "###########",
                                   ".#ooooooo#.", "..#ooooo#..", "...#ooo#...", "....#o#....",
                                   ".....#.....", "...........", "..........."};

// Compares the 11 x 11 pixels at `leftTop` with a shape; returns the first difference.
std::string CompareShape(const QImage& image, QPoint leftTop, const char* const* shape,
                         QColor background) {
    for (int y = 0; y < 11; y++) {
        for (int x = 0; x < 11; x++) {
            const char c = shape[y][x];
            const QColor expected = c == '#'   ? QColor(0, 0, 0)
                                    : c == 'o' ? QColor(144, 144, 144)
                                               : background;
            const QColor actual(image.pixel(leftTop + QPoint(x, y)));
            if (actual != expected) {
                return "pixel (" + std::to_string(x) + ", " + std::to_string(y) + ") is " +
                       actual.name().toStdString() + ", not " + expected.name().toStdString();
            }
        }
    }
    return "";
}

// The check mark of finished rows: 11 x 12 palette pixels, rows padded to 12 bytes.
const uint8_t kCheckMark[144] = {
    0xff, 0xff, 0xff, 0xff, 0xff, 0xff, 0xff, 0xff, 0xff, 0xff, 0xff, 0xff, //
    0xff, 0xff, 0xff, 0xff, 0xff, 0xff, 0xff, 0x00, 0xff, 0xff, 0xff, 0xff, //
    0xff, 0xff, 0xff, 0xff, 0xff, 0xff, 0x00, 0x7b, 0x00, 0xff, 0xff, 0xff, //
    0xff, 0xff, 0xff, 0xff, 0xff, 0xff, 0x00, 0x2f, 0x00, 0xff, 0xff, 0xff, //
    0xff, 0xff, 0xff, 0xff, 0xff, 0x00, 0x2f, 0x00, 0xff, 0xff, 0xff, 0xff, //
    0xff, 0x00, 0x00, 0xff, 0xff, 0x00, 0x2f, 0x00, 0xff, 0xff, 0xff, 0xff, //
    0xff, 0x00, 0x2b, 0x00, 0x00, 0x2f, 0x00, 0xff, 0xff, 0xff, 0xff, 0xff, //
    0xff, 0x00, 0x2b, 0x7b, 0x2c, 0xeb, 0x00, 0xff, 0xff, 0xff, 0xff, 0xff, //
    0xff, 0xff, 0x00, 0x2b, 0x2f, 0x00, 0xff, 0xff, 0xff, 0xff, 0xff, 0xff, //
    0xff, 0xff, 0x00, 0x2b, 0x2f, 0x00, 0xff, 0xff, 0xff, 0xff, 0xff, 0xff, //
    0xff, 0xff, 0xff, 0x00, 0x00, 0xff, 0xff, 0xff, 0xff, 0xff, 0xff, 0xff, //
    0xff, 0xff, 0xff, 0xff, 0xff, 0xff, 0xff, 0xff, 0xff, 0xff, 0xff, 0xff};

} // namespace

TEST(ColumnListPixels, CellBackgroundsAndTextPlaces) {
    FileListLike f(6);
    f.columns[4]->SetShown(false);
    f.list->Select(1);
    f.Show();
    const QImage image = f.Grab();
    SaveForInspection(image, QStringLiteral("columnlist-cells"));

    const kit::Rect row0 = f.list->ItemFrame(0);
    const kit::Rect row1 = f.list->ItemFrame(1);
    EXPECT_EQ(QColor(image.pixel(f.ContainerPixel(5, row1.top))), kSelected);
    EXPECT_EQ(QColor(image.pixel(f.ContainerPixel(5, row1.bottom))), kSelected);
    EXPECT_EQ(QColor(image.pixel(f.ContainerPixel(5, row1.bottom + 1))), kWhite);
    EXPECT_EQ(QColor(image.pixel(f.ContainerPixel(5, row0.bottom))), kWhite);
    EXPECT_EQ(QColor(image.pixel(f.ContainerPixel(400, row1.top + 2))), kSelected)
        << "right of the last column too";
    EXPECT_EQ(QColor(image.pixel(f.ContainerPixel(400, row0.top + 2))), kWhite);

    for (int32_t row : {0, 1}) {
        const QColor background = row == 1 ? kSelected : kWhite;
        // Left-aligned text starts 2 pixels into its cell (plus the glyph's bearing).
        const kit::Rect name = f.list->CellFrame(2, row);
        const QRect nameInk = InkBox(image, ToContainer(f, name), background);
        EXPECT_GE(nameInk.left(), f.ContainerPixel(name.left + 2, 0).x()) << row;
        EXPECT_LE(nameInk.left(), f.ContainerPixel(name.left + 3, 0).x()) << row;
        // Capitals and digits stand on the row above the baseline, top + text offset.
        const float baseline = name.top + f.items[0]->TextOffset();
        EXPECT_NEAR(nameInk.bottom() + 1, f.ContainerPixel(0, baseline).y(), 1.0) << row;

        // Right-justified text ends 14 pixels left of its cell's right edge.
        const kit::Rect track = f.list->CellFrame(1, row);
        const QRect trackInk = InkBox(image, ToContainer(f, track), background);
        EXPECT_LE(trackInk.right(), f.ContainerPixel(track.right - 14, 0).x()) << row;
        EXPECT_GE(trackInk.right(), f.ContainerPixel(track.right - 16, 0).x()) << row;
    }
}

TEST(ColumnListPixels, HeaderLabelsStandEightPixelsFromTheirEdges) {
    FileListLike f(1);
    f.Show();
    const QImage image = f.Grab();
    const QWidget* header = f.list->Header();
    const QColor face(216, 216, 216);
    const auto headerPixel = [&](float x, float y) {
        return header->mapTo(f.container, QPoint(static_cast<int>(x), static_cast<int>(y)));
    };
    const float bottom = header->height() - 1.0f;
    // Inner rectangles: one pixel inside each column's range; their last column and row hold
    // the bevel's inner shadow.
    const QRect filename(headerPixel(69, 1), headerPixel(217, bottom - 1));
    const QRect track(headerPixel(18, 1), headerPixel(66, bottom - 1));
    const QRect filenameInk = InkBox(image, filename.adjusted(0, 0, -1, -1), face);
    const QRect trackInk = InkBox(image, track.adjusted(0, 0, -1, -1), face);
    EXPECT_GE(filenameInk.left(), filename.left() + 8);
    EXPECT_LE(filenameInk.left(), filename.left() + 9);
    EXPECT_LE(trackInk.right(), track.right() - 8) << "right-aligned label";
    EXPECT_GE(trackInk.right(), track.right() - 10);
    EXPECT_NEAR(filenameInk.top(),
                filename.top() + 1 + f.list->Header()->FontAscent() -
                    QFontMetrics(header->font()).capHeight(),
                1.0)
        << "baseline one pixel plus the ascent below the inner top";
}

TEST(ColumnListPixels, ExpanderArrowsHaveTheirShapes) {
    OutlineList o;
    RecordingItem* collapsed = o.Add(0, true, false, "collapsed");
    RecordingItem* expanded = o.Add(0, true, true, "expanded");
    RecordingItem* nested = o.Add(1, true, false, "nested");
    o.list->Select(1);
    o.container->show();
    QApplication::processEvents();
    const QImage image = o.container->grab().toImage().convertToFormat(QImage::Format_RGB32);
    SaveForInspection(image, QStringLiteral("columnlist-arrows"));

    const auto leftTop = [&](const RecordingItem* item) {
        const kit::Rect r = item->ExpanderButtonRect();
        return o.list->mapTo(o.container,
                             QPoint(static_cast<int>(r.left), static_cast<int>(r.top)));
    };
    EXPECT_EQ(collapsed->ExpanderButtonRect().left, 20.0f - 13.0f) << "end - 13";
    EXPECT_EQ(nested->ExpanderButtonRect().left, 20.0f + 20.0f - 13.0f) << "indented";
    EXPECT_EQ(CompareShape(image, leftTop(collapsed), kCollapsed, kWhite), "");
    EXPECT_EQ(CompareShape(image, leftTop(expanded), kExpanded, kSelected), "");
    EXPECT_EQ(CompareShape(image, leftTop(nested), kCollapsed, kWhite), "");
}

TEST(ColumnListPixels, BitmapCellsStandAtTheirOffsetCentredVertically) {
    FileListLike f(3);
    const kit::Bitmap check(kit::Rect(0, 0, 10, 11), kCheckMark);
    f.items[1]->SetColumnContent(0, &check, 2.0f, false, false);
    f.Show();
    const QImage image = f.Grab();
    const kit::Rect cell = f.list->CellFrame(0, 1);
    const float top = cell.top + std::ceil(cell.Height() * 0.5f - 11.0f * 0.5f);
    const auto pixel = [&](int x, int y) {
        return QColor(image.pixel(
            f.ContainerPixel(cell.left + 2 + static_cast<float>(x), top + static_cast<float>(y))));
    };
    EXPECT_EQ(pixel(7, 1), QColor(0, 0, 0));
    EXPECT_EQ(pixel(7, 2), QColor(255, 102, 102)) << "palette index 0x7b";
    EXPECT_EQ(pixel(5, 7), QColor(152, 0, 0)) << "palette index 0xeb";
    EXPECT_EQ(pixel(2, 6), QColor(228, 0, 0)) << "palette index 0x2b";
    EXPECT_EQ(pixel(0, 5), kWhite) << "transparent";
    EXPECT_EQ(QColor(image.pixel(f.ContainerPixel(cell.left + 1, top + 5))), kWhite);
}

TEST(ColumnListPixels, TheCornerIsARaisedBevel) {
    FileListLike f(40);
    f.Show();
    const QImage image = f.Grab();
    const ScrollViewCorner* corner = f.container->Corner();
    ASSERT_EQ(corner->size(), QSize(14, 14));
    const auto at = [&](int x, int y) {
        return QColor(image.pixel(corner->mapTo(f.container, QPoint(x, y))));
    };
    const QColor light(255, 255, 255);
    const QColor dark(152, 152, 152);
    const QColor shadow(194, 194, 194);
    const QColor face(216, 216, 216);
    EXPECT_EQ(at(0, 0), light);
    EXPECT_EQ(at(6, 0), light);
    EXPECT_EQ(at(0, 6), light);
    EXPECT_EQ(at(13, 0), dark) << "the right edge is drawn after the top";
    EXPECT_EQ(at(13, 6), dark);
    EXPECT_EQ(at(6, 13), dark);
    EXPECT_EQ(at(0, 13), dark);
    EXPECT_EQ(at(12, 6), shadow);
    EXPECT_EQ(at(6, 12), shadow);
    EXPECT_EQ(at(12, 12), shadow);
    EXPECT_EQ(at(1, 1), face);
    EXPECT_EQ(at(11, 11), face);
}

TEST(ColumnListPixels, ResizingAColumnLooksLikeDrawingItAfresh) {
    FileListLike f(40);
    f.list->Select(2);
    f.Show();
    QScreen* screen = f.container->screen();
    // What the window shows, pixels moved and all: the screen's copy of it.
    const auto shown = [&] {
        QApplication::processEvents();
        return screen->grabWindow(f.container->winId())
            .toImage()
            .convertToFormat(QImage::Format_RGB32);
    };
    const QImage before = shown();
    ASSERT_FALSE(before.isNull());
    f.columns[2]->SetWidth(110.0f);
    f.columns[1]->SetWidth(70.0f);
    f.columns[3]->SetWidth(180.0f);
    f.list->ScrollTo(kit::Point(35, 60));
    f.columns[2]->SetWidth(100.0f);
    const QImage moved = shown();
    f.container->repaint();
    const QImage afresh = f.Grab();
    SaveForInspection(moved, QStringLiteral("columnlist-resized"));
    EXPECT_NE(moved, before);
    EXPECT_EQ(moved, afresh);
}
