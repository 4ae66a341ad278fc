// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include "kit/Color.h"
#include "kit/Font.h"
#include "kit/Geometry.h"
#include "kit/MessageEvent.h"
#include "kit/MouseEvent.h"
#include "kit/Painter.h"

#include <QWidget>

namespace kit {

enum orientation { B_HORIZONTAL, B_VERTICAL };

class ScrollBar;

// A widget with its own coordinate system, as the drawing and mouse code expects it: the
// visible area is Bounds(), whose left-top corner is the scroll position, so that scrolling
// moves the origin rather than the contents. The view draws in Draw with a Painter, receives
// the mouse in view coordinates, and receives messages posted to it in MessageReceived.
class View : public QWidget, public Handler {
public:
    explicit View(QWidget* parent = nullptr);

    // The visible area in the view's coordinates, edges included.
    Rect Bounds() const;
    Point ScrollPosition() const { return origin; }
    // Scrolls so that `where` becomes the left-top corner of Bounds(), moving the pixels already
    // drawn and keeping the scroll bars that control the view in step.
    virtual void ScrollTo(Point where);
    void ScrollBy(float dx, float dy) { ScrollTo({origin.x + dx, origin.y + dy}); }

    void Invalidate();
    void Invalidate(const Rect& r);
    // Draws the part of the view that `r` covers at once, without waiting for the event loop;
    // nothing while the view is hidden.
    void DrawNow(const Rect& r);
    // Moves the pixels of `source` to `destination` (a rectangle of the same size) and redraws
    // the part of the two that the move left uncovered.
    void CopyBits(const Rect& source, const Rect& destination);

    // The colour the view is filled with before it draws; B_TRANSPARENT_COLOR leaves what is
    // behind it.
    void SetViewColor(Color color);
    Color ViewColor() const { return viewColor; }

    // The view's font with its measurements (the widget's font).
    const Font& GetFont() const { return fontCache; }
    void MakeFocus(bool focused = true);

    // The scroll bar that controls the view in that direction, null when none; set by the bar.
    ScrollBar* ScrollBarFor(orientation o) const { return o == B_HORIZONTAL ? hBar : vBar; }
    void SetScrollBar(orientation o, ScrollBar* bar);

    Point ConvertFromWidget(QPointF p) const;
    QRect ConvertToWidget(const Rect& r) const;

    void MessageReceived(Message* message) override;

protected:
    // Draws the part of the view that `updateRect` covers (the painter holds the exact region).
    virtual void Draw(Painter& painter, Rect updateRect);
    virtual void MouseDown(const MouseEvent& event);
    virtual void MouseMoved(const MouseEvent& event);
    virtual void MouseUp(const MouseEvent& event);
    // Called after the view's size changed, with the new Bounds() width and height.
    virtual void FrameResized(float width, float height);

    bool event(QEvent* e) override;
    void paintEvent(QPaintEvent* e) override;
    void mousePressEvent(QMouseEvent* e) override;
    void mouseDoubleClickEvent(QMouseEvent* e) override;
    void mouseMoveEvent(QMouseEvent* e) override;
    void mouseReleaseEvent(QMouseEvent* e) override;
    void resizeEvent(QResizeEvent* e) override;
    void changeEvent(QEvent* e) override;
    // Called when the application's palette changed, for a view whose colours follow it.
    virtual void PaletteChanged() {}
    // The wheel scrolls with the view's scroll bar of its direction.
    void wheelEvent(QWheelEvent* e) override;

private:
    MouseEvent ToMouseEvent(const QMouseEvent* e, int32_t clicks) const;

    Point origin;
    Color viewColor{255, 255, 255, 255};
    Font fontCache;
    ScrollBar* hBar = nullptr;
    ScrollBar* vBar = nullptr;

    // Counting presses in quick succession.
    struct Press {
        quint64 time = 0;
        QPointF where;
        Qt::MouseButton button = Qt::NoButton;
        int32_t clicks = 0;
        bool reportedAsRepeat = false;
    } lastPress;
};

// Hands a wheel report to the bar of its direction (the other when that one is missing);
// ignores it when there is no bar.
void ForwardWheel(QWheelEvent* e, ScrollBar* horizontal, ScrollBar* vertical);

} // namespace kit
