// SPDX-License-Identifier: GPL-3.0-or-later
#include "kit/View.h"

#include "kit/ScrollBar.h"

#include <QGuiApplication>
#include <QMouseEvent>
#include <QPaintEvent>
#include <QStyleHints>
#include <QWheelEvent>
#include <cmath>
#include <cstdlib>

namespace kit {

View::View(QWidget* parent) : QWidget(parent), fontCache(font()) {
    setAttribute(Qt::WA_OpaquePaintEvent, true);
}

Rect View::Bounds() const {
    return {origin.x, origin.y, origin.x + static_cast<float>(width() - 1),
            origin.y + static_cast<float>(height() - 1)};
}

void View::ScrollTo(Point where) {
    where = {std::round(where.x), std::round(where.y)};
    const int dx = static_cast<int>(where.x - origin.x);
    const int dy = static_cast<int>(where.y - origin.y);
    if (dx == 0 && dy == 0) {
        return;
    }
    origin = where;
    scroll(-dx, -dy);
    if (hBar) {
        hBar->SyncValue(origin.x);
    }
    if (vBar) {
        vBar->SyncValue(origin.y);
    }
}

void View::Invalidate() {
    update();
}

void View::Invalidate(const Rect& r) {
    const QRect area = ConvertToWidget(r) & rect();
    if (!area.isEmpty()) {
        update(area);
    }
}

void View::DrawNow(const Rect& r) {
    const QRect area = ConvertToWidget(r) & rect();
    if (!area.isEmpty() && isVisible()) {
        repaint(area);
    }
}

void View::CopyBits(const Rect& source, const Rect& destination) {
    const QRect from = ConvertToWidget(source);
    const QRect to = ConvertToWidget(destination);
    const QRect area = (from | to) & rect();
    if (area.isEmpty()) {
        return;
    }
    scroll(to.left() - from.left(), to.top() - from.top(), area);
}

void View::SetViewColor(Color color) {
    viewColor = color;
    setAttribute(Qt::WA_OpaquePaintEvent, color.alpha == 255);
}

void View::MakeFocus(bool focused) {
    if (focused) {
        setFocus(Qt::OtherFocusReason);
    } else {
        clearFocus();
    }
}

void View::SetScrollBar(orientation o, ScrollBar* bar) {
    (o == B_HORIZONTAL ? hBar : vBar) = bar;
}

Point View::ConvertFromWidget(QPointF p) const {
    return {static_cast<float>(p.x()) + origin.x, static_cast<float>(p.y()) + origin.y};
}

QRect View::ConvertToWidget(const Rect& r) const {
    return ToQRect(r.OffsetByCopy(-origin.x, -origin.y));
}

void View::MessageReceived(Message* /*message*/) {}

void View::Draw(Painter& /*painter*/, Rect /*updateRect*/) {}

void View::MouseDown(const MouseEvent& /*event*/) {}

void View::MouseMoved(const MouseEvent& /*event*/) {}

void View::MouseUp(const MouseEvent& /*event*/) {}

void View::FrameResized(float /*width*/, float /*height*/) {}

bool View::event(QEvent* e) {
    if (DeliverMessageEvent(e, this)) {
        return true;
    }
    return QWidget::event(e);
}

void View::paintEvent(QPaintEvent* e) {
    QPainter qp(this);
    const QPoint shift(static_cast<int>(origin.x), static_cast<int>(origin.y));
    qp.translate(-shift);
    const QRegion region = e->region().translated(shift);
    if (viewColor.alpha != 0) {
        for (const QRect& r : region) {
            qp.fillRect(r, viewColor.ToQColor());
        }
    }
    Painter painter(qp, region, fontCache);
    Draw(painter, FromQRect(region.boundingRect()));
}

MouseEvent View::ToMouseEvent(const QMouseEvent* e, int32_t clicks) const {
    return {ConvertFromWidget(e->position()), ButtonsFromQt(e->buttons()),
            ModifiersFromQt(e->modifiers()), clicks};
}

void View::mousePressEvent(QMouseEvent* e) {
    const QStyleHints* hints = QGuiApplication::styleHints();
    const QPointF moved = e->position() - lastPress.where;
    const bool repeat = lastPress.clicks > 0 && e->button() == lastPress.button &&
                        e->timestamp() - lastPress.time <=
                            static_cast<quint64>(hints->mouseDoubleClickInterval()) &&
                        moved.manhattanLength() <= hints->mouseDoubleClickDistance();
    const int32_t clicks = repeat ? lastPress.clicks + 1 : 1;
    lastPress = {e->timestamp(), e->position(), e->button(), clicks, repeat};
    MouseDown(ToMouseEvent(e, clicks));
}

void View::mouseDoubleClickEvent(QMouseEvent* e) {
    // The platform follows the press of a double click with this report; when that press was
    // counted as a repeat already, it has been handled.
    if (lastPress.reportedAsRepeat) {
        lastPress.reportedAsRepeat = false;
        return;
    }
    const int32_t clicks = std::max(2, lastPress.clicks + 1);
    lastPress = {e->timestamp(), e->position(), e->button(), clicks, false};
    MouseDown(ToMouseEvent(e, clicks));
}

void View::mouseMoveEvent(QMouseEvent* e) {
    MouseMoved(ToMouseEvent(e, 0));
}

void View::mouseReleaseEvent(QMouseEvent* e) {
    MouseUp(ToMouseEvent(e, 0));
}

void View::resizeEvent(QResizeEvent* /*e*/) {
    const Rect b = Bounds();
    FrameResized(b.Width(), b.Height());
}

void View::wheelEvent(QWheelEvent* e) {
    ForwardWheel(e, hBar, vBar);
}

void ForwardWheel(QWheelEvent* e, ScrollBar* horizontal, ScrollBar* vertical) {
    const QPoint delta = e->angleDelta();
    ScrollBar* bar = std::abs(delta.x()) > std::abs(delta.y()) ? horizontal : vertical;
    if (!bar) {
        bar = horizontal ? horizontal : vertical;
    }
    if (bar) {
        QCoreApplication::sendEvent(bar, e);
    } else {
        e->ignore();
    }
}

void View::changeEvent(QEvent* e) {
    if (e->type() == QEvent::FontChange) {
        fontCache = Font(font());
    }
    if (e->type() == QEvent::PaletteChange || e->type() == QEvent::ApplicationPaletteChange) {
        PaletteChanged();
    }
    QWidget::changeEvent(e);
}

} // namespace kit
