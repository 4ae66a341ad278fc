// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <QRect>
#include <QRectF>

namespace kit {

struct Point {
    float x = 0.0f;
    float y = 0.0f;

    constexpr Point() = default;
    constexpr Point(float px, float py) : x(px), y(py) {}

    constexpr Point operator+(Point other) const { return {x + other.x, y + other.y}; }
    constexpr Point operator-(Point other) const { return {x - other.x, y - other.y}; }
    constexpr bool operator==(const Point&) const = default;
};

// A rectangle whose edges are included: (0, 0, 10, 10) covers 11 x 11 pixels, and Width() is
// right - left. The default rectangle (0, 0, -1, -1) is invalid and covers nothing.
struct Rect {
    float left = 0.0f;
    float top = 0.0f;
    float right = -1.0f;
    float bottom = -1.0f;

    constexpr Rect() = default;
    constexpr Rect(float l, float t, float r, float b) : left(l), top(t), right(r), bottom(b) {}
    constexpr Rect(Point leftTop, Point rightBottom)
        : left(leftTop.x), top(leftTop.y), right(rightBottom.x), bottom(rightBottom.y) {}

    constexpr float Width() const { return right - left; }
    constexpr float Height() const { return bottom - top; }
    constexpr bool IsValid() const { return left <= right && top <= bottom; }
    constexpr Point LeftTop() const { return {left, top}; }
    constexpr Point RightBottom() const { return {right, bottom}; }

    constexpr bool Contains(Point p) const {
        return p.x >= left && p.x <= right && p.y >= top && p.y <= bottom;
    }
    constexpr bool Contains(const Rect& r) const {
        return r.left >= left && r.right <= right && r.top >= top && r.bottom <= bottom;
    }
    constexpr bool Intersects(const Rect& r) const {
        return IsValid() && r.IsValid() && r.left <= right && r.right >= left && r.top <= bottom &&
               r.bottom >= top;
    }
    // Intersection; invalid when the two do not meet.
    constexpr Rect operator&(const Rect& r) const {
        return {left > r.left ? left : r.left, top > r.top ? top : r.top,
                right < r.right ? right : r.right, bottom < r.bottom ? bottom : r.bottom};
    }
    // Smallest rectangle holding both.
    constexpr Rect operator|(const Rect& r) const {
        return {left < r.left ? left : r.left, top < r.top ? top : r.top,
                right > r.right ? right : r.right, bottom > r.bottom ? bottom : r.bottom};
    }
    constexpr void OffsetBy(float dx, float dy) {
        left += dx;
        right += dx;
        top += dy;
        bottom += dy;
    }
    constexpr Rect OffsetByCopy(float dx, float dy) const {
        Rect r = *this;
        r.OffsetBy(dx, dy);
        return r;
    }
    constexpr void OffsetTo(float x, float y) { OffsetBy(x - left, y - top); }
    constexpr void InsetBy(float dx, float dy) {
        left += dx;
        right -= dx;
        top += dy;
        bottom -= dy;
    }
    constexpr bool operator==(const Rect&) const = default;
};

// The pixels a rectangle covers, as Qt counts them (Qt's right() and bottom() are inclusive too).
QRect ToQRect(const Rect& r);
// The area a rectangle covers for painting: one pixel wider and taller than Width() x Height().
QRectF ToQRectF(const Rect& r);
Rect FromQRect(const QRect& r);

} // namespace kit
