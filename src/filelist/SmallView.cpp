// SPDX-License-Identifier: GPL-3.0-or-later
#include "filelist/SmallView.h"

#include "ColumnListView/CLVColors.h"
#include "kit/ScrollView.h"

#include <QApplication>
#include <QCoreApplication>
#include <QFontMetrics>
#include <algorithm>

namespace {

constexpr kit::Point kBaseline{5.0f, 11.0f};

// The plain font at the size the strip beside a scroll bar has room for.
QFont PlainFont() {
    QFont font = QApplication::font();
    font.setPixelSize(10);
    return font;
}

} // namespace

SmallView::SmallView(kit::Rect frame, const char* name, QWidget* parent)
    : kit::View(parent), minimumWidth(static_cast<int>(frame.Width()) + 1) {
    setObjectName(QString::fromUtf8(name));
    setGeometry(kit::ToQRect(frame));
    setFont(PlainFont());
}

void SmallView::Init() {
    setFont(PlainFont());
    // Draw paints every pixel, so nothing needs erasing first.
    SetViewColor(kit::B_TRANSPARENT_COLOR);
    textLength = 0;
    SetText(0);
}

void SmallView::SetText(long n) {
    text = (n == 1 ? QCoreApplication::translate("SmallView", "%1 File")
                   : QCoreApplication::translate("SmallView", "%1 Files"))
               .arg(n)
               .toStdString();
    count = static_cast<int32_t>(n);
    textLength = static_cast<int32_t>(text.size());
    setAccessibleName(QString::fromStdString(text));
    // The text begins at the baseline's x and wants as much room after it, for the bevel.
    const int wanted = std::max(
        minimumWidth, QFontMetrics(font()).horizontalAdvance(QString::fromStdString(text)) +
                          2 * static_cast<int>(kBaseline.x));
    if (auto* scroll = dynamic_cast<kit::ScrollView*>(parentWidget());
        scroll != nullptr && wanted != width()) {
        scroll->PlaceBesideHorizontalBar(this, wanted);
    }
    Invalidate();
}

void SmallView::Draw(kit::Painter& painter, kit::Rect /*updateRect*/) {
    const kit::Rect bounds = Bounds();
    const float r = bounds.right;
    const float b = bounds.bottom;
    const CLVColors& colors = ListColors();
    painter.SetDrawingMode(kit::B_OP_COPY);
    painter.SetHighColor(colors.face);
    painter.FillRect(bounds);

    // A raised bevel: light inner edges at the top and left, a dark outer frame, and a softer
    // inner shade at the bottom and right.
    painter.BeginLineArray(8);
    painter.AddLine({1, 1}, {r - 1, 1}, colors.lightEdge);
    painter.AddLine({0, 0}, {r, 0}, colors.darkEdge);
    painter.AddLine({0, 0}, {0, b}, colors.darkEdge);
    painter.AddLine({1, 1}, {1, b - 1}, colors.lightEdge);
    painter.AddLine({0, b}, {r, b}, colors.darkEdge);
    painter.AddLine({2, b - 1}, {r - 1, b - 1}, colors.innerShadow);
    painter.AddLine({r, 0}, {r, b}, colors.darkEdge);
    painter.AddLine({r - 1, 2}, {r - 1, b - 2}, colors.innerShadow);
    painter.EndLineArray();

    painter.SetHighColor(colors.label);
    if (textLength != 0) {
        painter.SetDrawingMode(kit::B_OP_OVER);
        painter.DrawString(text.c_str(), kBaseline);
    }
}
