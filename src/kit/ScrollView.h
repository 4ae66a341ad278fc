// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include "kit/ScrollBar.h"
#include "kit/View.h"

#include <QPointer>
#include <QWidget>

namespace kit {

enum border_style { B_PLAIN_BORDER, B_FANCY_BORDER, B_NO_BORDER };

// A frame around a target view with optional scroll bars along its right and bottom edges. The
// scroll view adopts the target and keeps it, and the bars, laid out when its size changes. A
// header may stand directly above the target (over the target's width); a small widget may take
// the left end of the horizontal bar's strip.
class ScrollView : public QWidget {
public:
    // Pixels a scroll bar takes across its length.
    static constexpr int kScrollBarThickness = 15;

    // The scroll view takes the target's place: its frame is the target's frame grown by the
    // border and the bars, so the target keeps its size.
    ScrollView(View* view, bool horizontal, bool vertical, border_style style,
               QWidget* parent = nullptr);

    View* Target() const { return targetView; }
    ScrollBar* GetScrollBar(orientation o) const;
    border_style Border() const { return borderStyle; }

    // Places `widget` above the target; its height stays as it is.
    void SetTargetHeader(QWidget* widget);
    QWidget* TargetHeader() const { return targetHeader; }
    // Gives `widget` the first `width` pixels of the horizontal bar's strip.
    void PlaceBesideHorizontalBar(QWidget* widget, int width);

    // The size the scroll view asks the layout for is the one that shows this much of the
    // target; at first the target's size when adopted.
    void SetPreferredTargetSize(QSize size);

    QSize sizeHint() const override;
    QSize minimumSizeHint() const override;

protected:
    // Lays out the border, the bars, the header and the target; subclasses add their own parts.
    virtual void LayOut();
    // Called after the size changed and the parts were laid out.
    virtual void FrameResized(float width, float height);
    int BorderWidth() const;

    void resizeEvent(QResizeEvent* e) override;
    void paintEvent(QPaintEvent* e) override;
    // The wheel over the target or the header scrolls with the bar of its direction.
    void wheelEvent(QWheelEvent* e) override;

private:
    QPointer<View> targetView;
    border_style borderStyle;
    ScrollBar* horizontalBar = nullptr;
    ScrollBar* verticalBar = nullptr;
    QPointer<QWidget> targetHeader;
    QPointer<QWidget> besideBar;
    int besideBarWidth = 0;
    QSize preferredTargetSize;
};

} // namespace kit
