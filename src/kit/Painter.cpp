// SPDX-License-Identifier: GPL-3.0-or-later
#include "kit/Painter.h"

#include <QString>
#include <algorithm>
#include <cmath>
#include <utility>

namespace kit {

namespace {

int Pixel(float coordinate) {
    return static_cast<int>(std::floor(coordinate));
}

} // namespace

Painter::Painter(QPainter& painter, QRegion updateRegion, Font f)
    : qp(painter), update(std::move(updateRegion)), clip(update), font(std::move(f)) {
    qp.setRenderHint(QPainter::Antialiasing, false);
    qp.setFont(font.ToQFont());
    qp.setClipRegion(clip);
}

void Painter::StrokeLine(Point from, Point to, pattern p) {
    DrawLine(from, to, PatternColor(p));
}

void Painter::StrokeRect(Rect r, pattern p) {
    const Color c = PatternColor(p);
    DrawLine(r.LeftTop(), {r.right, r.top}, c);
    DrawLine({r.left, r.bottom}, r.RightBottom(), c);
    DrawLine(r.LeftTop(), {r.left, r.bottom}, c);
    DrawLine({r.right, r.top}, r.RightBottom(), c);
}

void Painter::FillRect(Rect r, pattern p) {
    if (r.IsValid()) {
        qp.fillRect(ToQRect(r), PatternColor(p).ToQColor());
    }
}

void Painter::BeginLineArray(int32_t count) {
    lines.clear();
    lines.reserve(static_cast<size_t>(count));
}

void Painter::AddLine(Point from, Point to, Color color) {
    lines.push_back({from, to, color});
}

void Painter::EndLineArray() {
    for (const Line& line : lines) {
        DrawLine(line.from, line.to, line.color);
    }
    lines.clear();
}

void Painter::DrawLine(Point from, Point to, Color color) {
    const QPoint a(Pixel(from.x), Pixel(from.y));
    const QPoint b(Pixel(to.x), Pixel(to.y));
    if (a.x() == b.x() || a.y() == b.y()) {
        // Straight lines are filled spans, so that both end pixels are exact.
        qp.fillRect(QRect(QPoint(std::min(a.x(), b.x()), std::min(a.y(), b.y())),
                          QPoint(std::max(a.x(), b.x()), std::max(a.y(), b.y()))),
                    color.ToQColor());
        return;
    }
    QPen pen(color.ToQColor(), 1);
    pen.setCapStyle(Qt::SquareCap);
    qp.setPen(pen);
    qp.drawLine(QPointF(a) + QPointF(0.5, 0.5), QPointF(b) + QPointF(0.5, 0.5));
}

void Painter::DrawString(const char* text, Point baseline) {
    if (!text || !*text) {
        return;
    }
    qp.setPen(high.ToQColor());
    qp.drawText(QPointF(baseline.x, baseline.y), QString::fromUtf8(text));
}

void Painter::DrawBitmap(const Bitmap& bitmap, Point leftTop) {
    Rect destination = bitmap.Bounds();
    destination.OffsetTo(leftTop.x, leftTop.y);
    DrawBitmap(bitmap, bitmap.Bounds(), destination);
}

void Painter::DrawBitmap(const Bitmap& bitmap, Rect source, Rect destination) {
    if (!source.IsValid() || !destination.IsValid()) {
        return;
    }
    const QRect target = ToQRect(destination);
    if (mode == B_OP_COPY) {
        qp.fillRect(target, low.ToQColor());
    }
    qp.drawImage(target, bitmap.Image(), ToQRect(source));
}

void Painter::ConstrainClippingRegion(const Rect* rect) {
    clip = rect ? update.intersected(ToQRect(*rect)) : update;
    qp.setClipRegion(clip);
}

bool Painter::Meets(const Rect& r) const {
    return r.IsValid() && clip.intersects(ToQRect(r));
}

} // namespace kit
