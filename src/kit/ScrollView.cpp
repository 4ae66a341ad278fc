// SPDX-License-Identifier: GPL-3.0-or-later
#include "kit/ScrollView.h"

#include <QPainter>
#include <QWheelEvent>

namespace kit {

namespace {

const QColor kGap(152, 152, 152);
const QColor kBorderShadow(152, 152, 152);
const QColor kBorderLight(255, 255, 255);
const QColor kBorderDark(96, 96, 96);
const QColor kBorderFace(216, 216, 216);

} // namespace

ScrollView::ScrollView(View* view, bool horizontal, bool vertical, border_style style,
                       QWidget* parent)
    : QWidget(parent), targetView(view), borderStyle(style) {
    const QRect frame = targetView->geometry();
    targetView->setParent(this);
    if (horizontal) {
        horizontalBar = new ScrollBar(B_HORIZONTAL, view, this);
    }
    if (vertical) {
        verticalBar = new ScrollBar(B_VERTICAL, view, this);
    }
    preferredTargetSize = frame.size();
    const int b = BorderWidth();
    setGeometry(QRect(frame.topLeft() - QPoint(b, b), sizeHint()));
    ScrollView::LayOut();
}

ScrollBar* ScrollView::GetScrollBar(orientation o) const {
    return o == B_HORIZONTAL ? horizontalBar : verticalBar;
}

void ScrollView::SetTargetHeader(QWidget* widget) {
    targetHeader = widget;
    targetHeader->setParent(this);
    targetHeader->show();
    LayOut();
}

void ScrollView::PlaceBesideHorizontalBar(QWidget* widget, int width) {
    besideBar = widget;
    besideBarWidth = width;
    besideBar->setParent(this);
    besideBar->show();
    LayOut();
}

int ScrollView::BorderWidth() const {
    switch (borderStyle) {
    case B_PLAIN_BORDER:
        return 1;
    case B_FANCY_BORDER:
        return 2;
    case B_NO_BORDER:
        break;
    }
    return 0;
}

void ScrollView::LayOut() {
    const QRect inner =
        rect().adjusted(BorderWidth(), BorderWidth(), -BorderWidth(), -BorderWidth());
    QRect area = inner;
    if (verticalBar) {
        area.setRight(inner.right() - kScrollBarThickness);
    }
    if (horizontalBar) {
        area.setBottom(inner.bottom() - kScrollBarThickness);
    }
    if (verticalBar) {
        verticalBar->setGeometry(
            QRect(QPoint(area.right() + 1, inner.top()), QPoint(inner.right(), area.bottom())));
    }
    if (horizontalBar) {
        int left = inner.left();
        if (besideBar) {
            besideBar->setGeometry(
                QRect(QPoint(left, area.bottom() + 1), QSize(besideBarWidth, kScrollBarThickness)));
            left += besideBarWidth;
        }
        horizontalBar->setGeometry(
            QRect(QPoint(left, area.bottom() + 1), QPoint(area.right(), inner.bottom())));
    }
    if (targetHeader) {
        const int height = targetHeader->height();
        targetHeader->setGeometry(QRect(area.topLeft(), QSize(area.width(), height)));
        area.setTop(area.top() + height);
    }
    if (targetView) {
        targetView->setGeometry(area);
    }
}

void ScrollView::FrameResized(float /*width*/, float /*height*/) {}

void ScrollView::resizeEvent(QResizeEvent* /*e*/) {
    LayOut();
    FrameResized(static_cast<float>(width() - 1), static_cast<float>(height() - 1));
}

void ScrollView::paintEvent(QPaintEvent* /*e*/) {
    QPainter qp(this);
    qp.fillRect(rect(), kGap);
    const QRect r = rect();
    if (borderStyle == B_PLAIN_BORDER) {
        qp.setPen(kBorderShadow);
        qp.drawRect(r.adjusted(0, 0, -1, -1));
    } else if (borderStyle == B_FANCY_BORDER) {
        // A recessed bevel: shadow above and left, light below and right, then a dark inner line.
        qp.fillRect(QRect(r.topLeft(), QPoint(r.right(), r.top())), kBorderShadow);
        qp.fillRect(QRect(r.topLeft(), QPoint(r.left(), r.bottom())), kBorderShadow);
        qp.fillRect(QRect(QPoint(r.left() + 1, r.bottom()), r.bottomRight()), kBorderLight);
        qp.fillRect(QRect(QPoint(r.right(), r.top() + 1), r.bottomRight()), kBorderLight);
        const QRect i = r.adjusted(1, 1, -1, -1);
        qp.fillRect(QRect(i.topLeft(), QPoint(i.right(), i.top())), kBorderDark);
        qp.fillRect(QRect(i.topLeft(), QPoint(i.left(), i.bottom())), kBorderDark);
        qp.fillRect(QRect(QPoint(i.left() + 1, i.bottom()), i.bottomRight()), kBorderFace);
        qp.fillRect(QRect(QPoint(i.right(), i.top() + 1), i.bottomRight()), kBorderFace);
    }
}

void ScrollView::wheelEvent(QWheelEvent* e) {
    ForwardWheel(e, horizontalBar, verticalBar);
}

void ScrollView::SetPreferredTargetSize(QSize size) {
    preferredTargetSize = size;
    updateGeometry();
}

QSize ScrollView::sizeHint() const {
    const int b = 2 * BorderWidth();
    return preferredTargetSize + QSize(b + (verticalBar ? kScrollBarThickness : 0),
                                       b + (horizontalBar ? kScrollBarThickness : 0) +
                                           (targetHeader ? targetHeader->height() : 0));
}

QSize ScrollView::minimumSizeHint() const {
    const int b = 2 * BorderWidth();
    return {b + 2 * kScrollBarThickness + (verticalBar ? kScrollBarThickness : 0),
            b + 2 * kScrollBarThickness + (horizontalBar ? kScrollBarThickness : 0) +
                (targetHeader ? targetHeader->height() : 0)};
}

} // namespace kit
