// SPDX-License-Identifier: GPL-3.0-or-later
#include "kit/Painter.h"

#include <QImage>
#include <gtest/gtest.h>

using namespace kit;

namespace {

const QRgb kWhite = qRgb(255, 255, 255);

// Paints on a white 20 x 20 image with the whole image as the update region.
struct Canvas {
    Canvas() : image(20, 20, QImage::Format_RGB32), qp((image.fill(kWhite), &image)) {}

    Painter Start() { return Painter(qp, QRegion(0, 0, 20, 20), Font()); }
    QImage Done() {
        qp.end();
        return image;
    }

    QImage image;
    QPainter qp;
};

int CountPixels(const QImage& image, QRgb color) {
    int n = 0;
    for (int y = 0; y < image.height(); y++) {
        for (int x = 0; x < image.width(); x++) {
            n += image.pixel(x, y) == color ? 1 : 0;
        }
    }
    return n;
}

} // namespace

TEST(Painter, RectanglesAndLinesIncludeTheirEdges) {
    Canvas c;
    {
        Painter p = c.Start();
        p.SetHighColor(255, 0, 0);
        p.FillRect(Rect(2, 2, 4, 3));
        p.SetLowColor(0, 0, 255);
        p.StrokeLine(Point(10, 1), Point(10, 5), B_SOLID_LOW);
        p.SetHighColor(0, 128, 0);
        p.StrokeLine(Point(12, 7), Point(15, 7));
    }
    const QImage image = c.Done();
    EXPECT_EQ(CountPixels(image, qRgb(255, 0, 0)), 3 * 2);
    EXPECT_EQ(image.pixel(4, 3), qRgb(255, 0, 0));
    EXPECT_EQ(image.pixel(5, 3), kWhite);
    EXPECT_EQ(CountPixels(image, qRgb(0, 0, 255)), 5);
    EXPECT_EQ(image.pixel(10, 5), qRgb(0, 0, 255));
    EXPECT_EQ(CountPixels(image, qRgb(0, 128, 0)), 4);
    EXPECT_EQ(image.pixel(15, 7), qRgb(0, 128, 0));
}

TEST(Painter, LineArraysDrawEachLineInItsColourAtTheEnd) {
    Canvas c;
    {
        Painter p = c.Start();
        p.BeginLineArray(2);
        p.AddLine(Point(0, 0), Point(19, 0), Color{1, 2, 3, 255});
        p.AddLine(Point(0, 19), Point(0, 1), Color{4, 5, 6, 255});
        EXPECT_EQ(c.image.pixel(5, 0), kWhite) << "nothing drawn before EndLineArray";
        p.EndLineArray();
    }
    const QImage image = c.Done();
    EXPECT_EQ(CountPixels(image, qRgb(1, 2, 3)), 20);
    EXPECT_EQ(CountPixels(image, qRgb(4, 5, 6)), 19);
}

TEST(Painter, ClippingLimitsDrawingToTheRectangleWithinTheUpdateRegion) {
    QImage image(20, 20, QImage::Format_RGB32);
    image.fill(kWhite);
    QPainter qp(&image);
    {
        Painter p(qp, QRegion(0, 0, 10, 20), Font());
        const Rect inner(5, 5, 14, 14);
        p.ConstrainClippingRegion(&inner);
        EXPECT_TRUE(p.Meets(Rect(9, 9, 12, 12)));
        EXPECT_FALSE(p.Meets(Rect(11, 9, 12, 12))) << "outside the update region";
        p.SetHighColor(0, 0, 0);
        p.FillRect(Rect(0, 0, 19, 19));
        p.ConstrainClippingRegion(nullptr);
        p.SetHighColor(255, 0, 0);
        p.FillRect(Rect(0, 0, 19, 0));
    }
    qp.end();
    EXPECT_EQ(CountPixels(image, qRgb(0, 0, 0)), 5 * 10) << "columns 5-9, rows 5-14";
    EXPECT_EQ(CountPixels(image, qRgb(255, 0, 0)), 10) << "the update region stays in force";
}

TEST(Painter, BitmapsDrawOverOrCopyWithTheLowColour) {
    // Two pixels: palette black, then transparent.
    const uint8_t bits[4] = {0x00, B_TRANSPARENT_MAGIC_CMAP8, 0xff, 0xff};
    const Bitmap bitmap(Rect(0, 0, 1, 0), bits);
    Canvas c;
    {
        Painter p = c.Start();
        p.SetHighColor(0, 255, 0);
        p.FillRect(Rect(0, 0, 19, 19));
        p.SetLowColor(0, 0, 255);
        p.SetDrawingMode(B_OP_OVER);
        p.DrawBitmap(bitmap, Point(2, 2));
        p.SetDrawingMode(B_OP_COPY);
        p.DrawBitmap(bitmap, Point(2, 4));
    }
    const QImage image = c.Done();
    EXPECT_EQ(image.pixel(2, 2), qRgb(0, 0, 0));
    EXPECT_EQ(image.pixel(3, 2), qRgb(0, 255, 0)) << "over: transparent leaves the destination";
    EXPECT_EQ(image.pixel(2, 4), qRgb(0, 0, 0));
    EXPECT_EQ(image.pixel(3, 4), qRgb(0, 0, 255)) << "copy: transparent becomes the low colour";
}

TEST(Painter, StringsAreDrawnInTheHighColourAboveTheBaseline) {
    QImage image(60, 30, QImage::Format_RGB32);
    image.fill(kWhite);
    QPainter qp(&image);
    const Font font(QFont(QStringLiteral("DejaVu Sans"), 12));
    {
        Painter p(qp, QRegion(image.rect()), font);
        p.SetHighColor(0, 0, 0);
        p.DrawString("HH", Point(10, 20));
        EXPECT_FLOAT_EQ(p.StringWidth("HH"), font.StringWidth("HH"));
    }
    qp.end();
    int top = 30;
    int bottom = -1;
    int left = 60;
    for (int y = 0; y < 30; y++) {
        for (int x = 0; x < 60; x++) {
            if (qGray(image.pixel(x, y)) < 128) {
                top = std::min(top, y);
                bottom = std::max(bottom, y);
                left = std::min(left, x);
            }
        }
    }
    FontHeight h;
    font.GetHeight(&h);
    EXPECT_EQ(bottom, 19) << "capitals stand on the row above the baseline";
    EXPECT_GE(top, 20 - static_cast<int>(std::ceil(h.ascent)));
    EXPECT_GE(left, 10);
    EXPECT_LE(left, 12);
}
