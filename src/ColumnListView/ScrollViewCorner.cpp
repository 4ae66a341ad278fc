// SPDX-License-Identifier: GPL-3.0-or-later
#include "ColumnListView/ScrollViewCorner.h"

#include "ColumnListView/CLVColors.h"

ScrollViewCorner::ScrollViewCorner(float left, float top, QWidget* parent) : kit::View(parent) {
    setGeometry(kit::ToQRect(kit::Rect(left + 1.0f, top + 1.0f, left + 14.0f, top + 14.0f)));
    SetViewColor(kit::B_TRANSPARENT_COLOR);
}

void ScrollViewCorner::Draw(kit::Painter& painter, kit::Rect /*updateRect*/) {
    const kit::Rect b = Bounds();
    const float l = b.left;
    const float t = b.top;
    const float r = b.right;
    const float bottom = b.bottom;
    kit::Rect face = b;
    face.InsetBy(1.0f, 1.0f);
    painter.SetHighColor(ListColors().face);
    painter.FillRect(face);
    painter.BeginLineArray(6);
    painter.AddLine({l, t}, {r, t}, ListColors().lightEdge);
    painter.AddLine({l, t}, {l, bottom}, ListColors().lightEdge);
    painter.AddLine({r, t}, {r, bottom}, ListColors().darkEdge);
    painter.AddLine({l, bottom}, {r, bottom}, ListColors().darkEdge);
    painter.AddLine({r - 1.0f, 1.0f}, {r - 1.0f, bottom - 1.0f}, ListColors().innerShadow);
    painter.AddLine({l + 1.0f, bottom - 1.0f}, {r - 1.0f, bottom - 1.0f}, ListColors().innerShadow);
    painter.EndLineArray();
}
