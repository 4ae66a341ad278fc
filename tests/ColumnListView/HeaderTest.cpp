// SPDX-License-Identifier: GPL-3.0-or-later
#include "ListFixture.h"

#include <QApplication>
#include <QTest>
#include <gtest/gtest.h>

namespace {

using Gesture = CLVColumnLabelView::Gesture;

constexpr int32_t kTrack = 1;
constexpr int32_t kFilename = 2;
constexpr int32_t kSaveAs = 3;

// The mouse on a shown list's header, in the header's coordinates.
struct HeaderMouse {
    explicit HeaderMouse(ColumnListView* list) : header(list->Header()) {
        list->Container()->show();
        (void)QTest::qWaitForWindowExposed(list->Container());
    }
    QPoint At(float x, float y) const {
        const kit::Point origin = header->ScrollPosition();
        return {static_cast<int>(x - origin.x), static_cast<int>(y - origin.y)};
    }
    void Press(float x, Qt::KeyboardModifiers mods = {}, Qt::MouseButton button = Qt::LeftButton) {
        QTest::mousePress(header, button, mods, At(x, 5));
    }
    void MoveTo(float x, float y = 5) { QTest::mouseMove(header, At(x, y)); }
    void Release(float x, Qt::KeyboardModifiers mods = {}, Qt::MouseButton button = Qt::LeftButton,
                 float y = 5) {
        QTest::mouseRelease(header, button, mods, At(x, y));
    }
    void Click(float x, Qt::KeyboardModifiers mods = {}) {
        Press(x, mods);
        Release(x, mods);
    }
    Gesture State() const { return header->CurrentGesture(); }

    CLVColumnLabelView* header;
};

std::vector<int32_t> Keys(const ColumnListView* list) {
    std::vector<int32_t> indexes(static_cast<size_t>(list->CountColumns()));
    indexes.resize(static_cast<size_t>(list->Sorting(indexes.data(), nullptr)));
    return indexes;
}

// A flat list of 60-pixel columns: A pinned left; B dragged with C; F fixed in place; D pinned
// right. All but D sort. A 0-60, B 61-121, C 122-182, F 183-243, D 244-304.
struct PinnedColumns {
    PinnedColumns() {
        list = new RecordingList(kit::Rect(0, 0, 420, 200), &container);
        for (const auto& [label, flags] : std::initializer_list<std::pair<const char*, uint32_t>>{
                 {"A", CLV_COL_SORTABLE | CLV_COL_PIN_LEFT},
                 {"B", CLV_COL_SORTABLE | CLV_COL_DRAG_WITH_NEXT},
                 {"C", CLV_COL_SORTABLE},
                 {"F", CLV_COL_SORTABLE | CLV_COL_FIXED_POSITION},
                 {"D", CLV_COL_PIN_RIGHT}}) {
            list->AddColumn(new CLVColumn(label, 60.0f, flags, 20.0f));
        }
    }
    ~PinnedColumns() { delete container; }
    PinnedColumns(const PinnedColumns&) = delete;
    PinnedColumns& operator=(const PinnedColumns&) = delete;

    RecordingList* list = nullptr;
    CLVContainerView* container = nullptr;
};

} // namespace

TEST(ColumnHeader, PressesWithinTwoPixelsOfAnEdgeResize) {
    FileListLike f(3);
    HeaderMouse m(f.list);
    // Filename starts at 68: 2 pixels right of it is Track's edge.
    m.Press(70);
    EXPECT_EQ(m.State(), Gesture::Resizing);
    EXPECT_EQ(m.header->PressedColumn(), f.columns[kTrack]);
    m.MoveTo(80);
    EXPECT_FLOAT_EQ(f.columns[kTrack]->Width(), 60.0f);
    m.MoveTo(0);
    EXPECT_FLOAT_EQ(f.columns[kTrack]->Width(), 50.0f) << "not below the minimum";
    m.MoveTo(95, 150);
    EXPECT_FLOAT_EQ(f.columns[kTrack]->Width(), 75.0f) << "the pointer is followed off the header";
    m.Release(95, {}, Qt::LeftButton, 150);
    EXPECT_EQ(m.State(), Gesture::Idle);
    EXPECT_TRUE(Keys(f.list).empty()) << "a resize does not sort";

    // Filename now starts at 93; 3 pixels right of it is its label.
    m.Press(96);
    EXPECT_EQ(m.State(), Gesture::Pressed);
    EXPECT_EQ(m.header->PressedColumn(), f.columns[kFilename]);
    m.Release(96);
    m.Press(243 - 2);
    EXPECT_EQ(m.header->PressedColumn(), f.columns[kFilename]) << "its own right edge";
    EXPECT_EQ(m.State(), Gesture::Resizing);
    m.Release(243 - 2);

    // The unlabelled first column is fixed in width; nothing lies left of it.
    for (const float x : {0.0f, 2.0f, 14.0f, 19.0f}) {
        m.Press(x);
        EXPECT_EQ(m.State(), Gesture::Idle) << x;
        m.Release(x);
    }
    m.Press(3);
    EXPECT_EQ(m.State(), Gesture::Pressed) << "its label";
    m.Release(3);
}

TEST(ColumnHeader, ClicksSortAndShiftClicksAddOrReverseKeys) {
    FileListLike f(3);
    HeaderMouse m(f.list);
    m.Click(140);
    EXPECT_EQ(Keys(f.list), std::vector<int32_t>{kFilename});
    EXPECT_EQ(f.columns[kFilename]->SortMode(), CLVSortAscending);
    m.Click(140);
    EXPECT_EQ(f.columns[kFilename]->SortMode(), CLVSortDescending);
    m.Click(140);
    EXPECT_EQ(f.columns[kFilename]->SortMode(), CLVSortNone);
    EXPECT_TRUE(Keys(f.list).empty());
    m.Click(140);
    EXPECT_EQ(Keys(f.list), std::vector<int32_t>{kFilename});
    EXPECT_EQ(f.columns[kFilename]->SortMode(), CLVSortAscending);

    m.Click(300, Qt::ShiftModifier);
    EXPECT_EQ(Keys(f.list), (std::vector<int32_t>{kFilename, kSaveAs}));
    m.Click(300, Qt::ShiftModifier);
    EXPECT_EQ(f.columns[kSaveAs]->SortMode(), CLVSortDescending) << "a key: reversed";
    m.Click(40);
    EXPECT_EQ(Keys(f.list), std::vector<int32_t>{kTrack}) << "a plain click: the only key";

    const int hooks = f.list->sortingChanges;
    m.Click(8);
    EXPECT_EQ(f.list->sortingChanges, hooks) << "the first column does not sort";
}

TEST(ColumnHeader, DraggingALabelMovesItsColumn) {
    FileListLike f(3);
    HeaderMouse m(f.list);
    m.Press(140);
    m.MoveTo(142);
    m.MoveTo(138);
    EXPECT_EQ(m.State(), Gesture::Pressed) << "2 pixels is still a click";
    m.MoveTo(143);
    EXPECT_EQ(m.State(), Gesture::Dragging);
    // Past Track's right edge (67): Filename moves before Track.
    m.MoveTo(66, 120);
    EXPECT_EQ(f.list->DisplayOrder(), (std::vector<int32_t>{0, 2, 1, 3, 4}));
    ASSERT_EQ(f.list->orderChanges.size(), 1u);
    EXPECT_EQ(f.list->orderChanges[0], (std::vector<int32_t>{0, 2, 1, 3, 4}));
    EXPECT_FLOAT_EQ(f.columns[kFilename]->ColumnStart(), 17.0f);
    // Far right: past Track, Save As and Path To File, one place at a time.
    m.MoveTo(600, 120);
    EXPECT_EQ(f.list->DisplayOrder(), (std::vector<int32_t>{0, 1, 3, 4, 2}));
    EXPECT_EQ(f.list->orderChanges.size(), 4u);
    m.Release(600, {}, Qt::LeftButton, 120);
    EXPECT_EQ(m.State(), Gesture::Idle);
    EXPECT_TRUE(Keys(f.list).empty()) << "a drag does not sort";
}

TEST(ColumnHeader, PinsAndFixedPositionsRefuseMoves) {
    PinnedColumns p;
    HeaderMouse m(p.list);
    const std::vector<int32_t> start{0, 1, 2, 3, 4};

    // B and C move together; A is pinned left, so they cannot pass it.
    m.Press(150);
    m.MoveTo(5);
    EXPECT_EQ(m.State(), Gesture::Dragging);
    EXPECT_EQ(p.list->DisplayOrder(), start);
    // F may be passed; D, pinned right, may not.
    m.MoveTo(400);
    EXPECT_EQ(p.list->DisplayOrder(), (std::vector<int32_t>{0, 3, 1, 2, 4}));
    m.Release(400);

    // A pinned group cannot leave its end past an unpinned group.
    m.Press(30);
    m.MoveTo(400);
    EXPECT_EQ(p.list->DisplayOrder(), (std::vector<int32_t>{0, 3, 1, 2, 4}));
    m.Release(400);

    // F cannot be dragged at all: the press is dropped and its release does not sort.
    m.Press(90);
    m.MoveTo(93);
    EXPECT_EQ(m.State(), Gesture::Idle);
    m.MoveTo(10);
    m.Release(10);
    EXPECT_EQ(p.list->DisplayOrder(), (std::vector<int32_t>{0, 3, 1, 2, 4}));
    EXPECT_TRUE(Keys(p.list).empty());
    m.Click(90);
    EXPECT_EQ(Keys(p.list), std::vector<int32_t>{3}) << "a click on it sorts";
}

TEST(ColumnHeader, ASecondButtonOrAColumnChangeAbandonsTheGesture) {
    FileListLike f(3);
    HeaderMouse m(f.list);
    m.Press(140);
    m.Press(140, {}, Qt::RightButton);
    EXPECT_EQ(m.State(), Gesture::Idle);
    m.Release(140, {}, Qt::RightButton);
    m.Release(140);
    EXPECT_TRUE(Keys(f.list).empty());

    m.Press(66);
    m.MoveTo(76);
    m.Press(76, {}, Qt::MiddleButton);
    m.MoveTo(90);
    EXPECT_FLOAT_EQ(f.columns[kTrack]->Width(), 60.0f) << "no more resizing";
    m.Release(90, {}, Qt::MiddleButton);
    m.Release(90);

    m.Press(150);
    f.list->ColumnsChanged();
    EXPECT_EQ(m.State(), Gesture::Idle);
    EXPECT_EQ(m.header->PressedColumn(), nullptr);
    m.Release(150);
    EXPECT_TRUE(Keys(f.list).empty());
}

TEST(ColumnHeader, HidingTheColumnOfAGestureEndsTheGesture) {
    FileListLike f(3);
    HeaderMouse m(f.list);
    // Filename runs from 68 to 218: a press on its label, a drag of it, a resize of its edge.
    struct Case {
        float press;
        float move;
        Gesture during;
    };
    for (const Case& c : {Case{140, 140, Gesture::Pressed}, Case{140, 160, Gesture::Dragging},
                          Case{217, 230, Gesture::Resizing}}) {
        f.columns[kFilename]->SetShown(true);
        m.Press(c.press);
        m.MoveTo(c.move);
        ASSERT_EQ(m.State(), c.during);
        f.columns[kFilename]->SetShown(false);
        EXPECT_EQ(m.State(), Gesture::Idle) << c.press;
        const float width = f.columns[kFilename]->Width();
        m.MoveTo(20);
        m.Release(20);
        EXPECT_TRUE(Keys(f.list).empty()) << "a hidden column's click does not sort";
        EXPECT_EQ(f.list->DisplayOrder(), (std::vector<int32_t>{0, 1, 2, 3, 4}));
        EXPECT_FLOAT_EQ(f.columns[kFilename]->Width(), width);
    }
}

namespace {

const QColor kWhite(255, 255, 255);
const QColor kFace(216, 216, 216);
const QColor kShadow(194, 194, 194);
const QColor kDark(152, 152, 152);
const QColor kHighlight(0, 0, 229);

// The header as it paints itself now, read in its own coordinates.
struct HeaderImage {
    explicit HeaderImage(CLVColumnLabelView* header, const QString& name)
        : image(header->grab().toImage().convertToFormat(QImage::Format_RGB32)),
          bottom(header->height() - 1) {
        SaveForInspection(image, name);
    }
    QColor At(int x, int y) const { return QColor(image.pixel(x, y)); }
    // How many pixels of the area have a colour that `is` accepts.
    template <class Is> int Count(const QRect& area, Is is) const {
        int n = 0;
        for (int y = area.top(); y <= area.bottom(); y++) {
            for (int x = area.left(); x <= area.right(); x++) {
                n += is(At(x, y)) ? 1 : 0;
            }
        }
        return n;
    }

    QImage image;
    int bottom;
};

// Text is smoothed: its edges blend the colour with the face.
bool IsBlueText(const QColor& c) {
    return c.blue() > c.red() + 60 && c.red() == c.green();
}
bool IsBlackText(const QColor& c) {
    return c.red() == c.green() && c.green() == c.blue() && c.red() < 100;
}
bool IsHighlight(const QColor& c) {
    return c == kHighlight;
}

} // namespace

TEST(ColumnHeaderPixels, BevelledCellsJoinedCellsAndTheFiller) {
    FileListLike f(1);
    f.columns[kSaveAs]->SetShown(false);
    f.columns[4]->SetShown(false);
    HeaderMouse m(f.list);
    const HeaderImage h(m.header, QStringLiteral("header-cells"));
    const int b = h.bottom;
    const int mid = b / 2;

    // Filename, 68 to 218: light top and left, inner shadow and dark edge right and below.
    EXPECT_EQ(h.At(68, 0), kWhite);
    EXPECT_EQ(h.At(217, 0), kWhite);
    EXPECT_EQ(h.At(68, mid), kWhite);
    EXPECT_EQ(h.At(68, b - 1), kWhite);
    EXPECT_EQ(h.At(69, b - 1), kShadow);
    EXPECT_EQ(h.At(100, b), kDark);
    EXPECT_EQ(h.At(217, mid), kShadow);
    EXPECT_EQ(h.At(218, 0), kDark);
    EXPECT_EQ(h.At(218, mid), kDark);
    EXPECT_EQ(h.At(69, 1), kFace);

    // The first column (0 to 16) is joined to Track: no edge between them.
    EXPECT_EQ(h.At(16, 0), kWhite);
    EXPECT_EQ(h.At(15, mid), kFace);
    EXPECT_EQ(h.At(16, mid), kFace);
    EXPECT_EQ(h.At(17, mid), kFace) << "Track draws no left edge after a joined cell";
    EXPECT_EQ(h.At(16, b - 1), kShadow);
    EXPECT_EQ(h.At(16, b), kDark);
    EXPECT_EQ(h.At(67, mid), kDark);

    // Right of the last shown column: an empty cell to the header's edge.
    const int right = m.header->width() - 1;
    EXPECT_EQ(h.At(219, 0), kWhite);
    EXPECT_EQ(h.At(219, mid), kWhite);
    EXPECT_EQ(h.At(220, b - 1), kShadow);
    EXPECT_EQ(h.At(right, b - 1), kShadow);
    EXPECT_EQ(h.At(right, b), kDark);
    EXPECT_EQ(h.At(right, mid), kFace);
    EXPECT_EQ(h.At(300, mid), kFace);
}

TEST(ColumnHeaderPixels, PressedLabelsSortKeysAndGestures) {
    FileListLike f(1);
    HeaderMouse m(f.list);
    const QRect filename(69, 1, 148, m.header->height() - 3);
    m.Press(140);
    const HeaderImage pressed(m.header, QStringLiteral("header-pressed"));
    EXPECT_GT(pressed.Count(filename, IsBlueText), 10) << "the pressed label";
    EXPECT_GE(pressed.Count(filename, IsHighlight), 2) << "solid pixels in (0, 0, 229)";
    EXPECT_EQ(pressed.Count(filename, IsBlackText), 0);
    m.Release(140);

    // Released: a sort key, underlined in black from one pixel left of the label.
    const HeaderImage key(m.header, QStringLiteral("header-key"));
    EXPECT_EQ(key.Count(filename, IsBlueText), 0);
    EXPECT_GT(key.Count(filename, IsBlackText), 10);
    const int underline = static_cast<int>(1.0f + 1.0f + m.header->FontAscent()) + 2;
    const int labelWidth = static_cast<int>(m.header->GetFont().StringWidth("Filename"));
    const int x = 69 + 8 - 1;
    EXPECT_EQ(key.At(x, underline), QColor(0, 0, 0));
    EXPECT_EQ(key.At(x + labelWidth, underline), QColor(0, 0, 0));
    EXPECT_EQ(key.At(x + labelWidth + 1, underline), kFace);
    EXPECT_EQ(key.At(x - 1, underline), kFace);
    EXPECT_EQ(key.At(220 + 8 - 1, underline), kFace) << "Save As is not a key";

    // Resizing: the edge in the highlight colour.
    m.Press(66);
    const HeaderImage resizing(m.header, QStringLiteral("header-resizing"));
    for (const int y : {0, key.bottom / 2, key.bottom}) {
        EXPECT_EQ(resizing.At(67, y), kHighlight) << y;
    }
    m.Release(66);

    // Dragging: the group's outline follows the pointer, 72 pixels left of it as at the press.
    m.Press(140);
    m.MoveTo(160);
    const HeaderImage dragging(m.header, QStringLiteral("header-dragging"));
    EXPECT_EQ(dragging.At(88, 0), kHighlight);
    EXPECT_EQ(dragging.At(150, dragging.bottom), kHighlight);
    EXPECT_EQ(dragging.At(88, dragging.bottom / 2), kHighlight);
    EXPECT_EQ(dragging.At(238, dragging.bottom / 2), kHighlight);
    EXPECT_EQ(dragging.At(239, 0), kWhite);
    m.Release(160);
}

TEST(ColumnHeaderPixels, TheOutlineStaysWhereTheGroupMayNotGo) {
    PinnedColumns p;
    HeaderMouse m(p.list);
    m.Press(150);
    m.MoveTo(100);
    const HeaderImage h(m.header, QStringLiteral("header-outline-held"));
    EXPECT_EQ(h.At(61, 0), kHighlight) << "B and C may not pass A";
    EXPECT_EQ(h.At(182, h.bottom / 2), kHighlight);
    EXPECT_EQ(h.At(11, 0), kWhite);
    m.Release(100);
}
