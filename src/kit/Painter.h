// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include "kit/Bitmap.h"
#include "kit/Color.h"
#include "kit/Font.h"
#include "kit/Geometry.h"

#include <QPainter>
#include <QRegion>
#include <vector>

namespace kit {

// How drawing combines with what is already there. Lines, fills and text are opaque in both
// modes; bitmaps differ: B_OP_OVER leaves the destination where a pixel is transparent, while
// B_OP_COPY replaces it with the low colour.
enum drawing_mode { B_OP_COPY, B_OP_OVER };

// Which of the two current colours a line or fill uses.
enum pattern { B_SOLID_HIGH, B_SOLID_LOW };

// The drawing calls of a view, valid while it paints. Coordinates are the view's own, with edges
// included: FillRect(Rect(0, 0, 10, 10)) fills 11 x 11 pixels, and a line from (0, 5) to (10, 5)
// covers 11. Every call is limited to the update region, and further to the rectangle that
// ConstrainClippingRegion sets.
class Painter {
public:
    // Draws through `painter`, which maps the view's coordinates to the device already.
    // `updateRegion` is in the view's coordinates.
    Painter(QPainter& painter, QRegion updateRegion, Font font);
    Painter(const Painter&) = delete;
    Painter& operator=(const Painter&) = delete;

    void SetHighColor(Color color) { high = color; }
    void SetHighColor(uint8_t r, uint8_t g, uint8_t b, uint8_t a = 255) { high = {r, g, b, a}; }
    Color HighColor() const { return high; }
    void SetLowColor(Color color) { low = color; }
    void SetLowColor(uint8_t r, uint8_t g, uint8_t b, uint8_t a = 255) { low = {r, g, b, a}; }
    Color LowColor() const { return low; }
    void SetDrawingMode(drawing_mode m) { mode = m; }
    drawing_mode DrawingMode() const { return mode; }

    void StrokeLine(Point from, Point to, pattern p = B_SOLID_HIGH);
    void StrokeRect(Rect r, pattern p = B_SOLID_HIGH);
    void FillRect(Rect r, pattern p = B_SOLID_HIGH);

    // Lines added between Begin and End are drawn, each in its own colour, by EndLineArray.
    void BeginLineArray(int32_t count);
    void AddLine(Point from, Point to, Color color);
    void EndLineArray();

    // Draws a UTF-8 text in the high colour, starting at `baseline`.x on the baseline `.y`.
    void DrawString(const char* text, Point baseline);
    void DrawBitmap(const Bitmap& bitmap, Point leftTop);
    // Draws the `source` part of the bitmap into `destination`, scaled when sizes differ.
    void DrawBitmap(const Bitmap& bitmap, Rect source, Rect destination);

    const Font& GetFont() const { return font; }
    float StringWidth(const char* text) const { return font.StringWidth(text); }
    void GetFontHeight(FontHeight* height) const { font.GetHeight(height); }

    // Limits drawing to the rectangle within the update region; null lifts the limit.
    void ConstrainClippingRegion(const Rect* rect);
    // The region drawing reaches now, in the view's coordinates.
    const QRegion& ClippingRegion() const { return clip; }
    // Whether a rectangle meets the region drawing reaches.
    bool Meets(const Rect& r) const;

private:
    struct Line {
        Point from;
        Point to;
        Color color;
    };

    void DrawLine(Point from, Point to, Color color);
    Color PatternColor(pattern p) const { return p == B_SOLID_LOW ? low : high; }

    QPainter& qp;
    QRegion update;
    QRegion clip;
    Font font;
    Color high{0, 0, 0, 255};
    Color low{255, 255, 255, 255};
    drawing_mode mode = B_OP_COPY;
    std::vector<Line> lines;
};

} // namespace kit
