// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <QPoint>
#include <QRect>
#include <QTimer>
#include <functional>
#include <memory>

class PointerArrival;
class QWidget;

// What the bubble help reads of the desktop: the pointer and its buttons, the widget under a
// point, the screen, and a tick ten times a second that can rest while the pointer is away. This
// one reads the real pointer, screens and windows and ticks with a timer on the GUI thread; tests
// give their own pointer and ticks.
class BubbleDesktop {
public:
    BubbleDesktop();
    virtual ~BubbleDesktop();
    BubbleDesktop(const BubbleDesktop&) = delete;
    BubbleDesktop& operator=(const BubbleDesktop&) = delete;

    static constexpr int kTickMilliseconds = 100;

    // Calls `tick` every tenth of a second from now on.
    virtual void StartTicking(std::function<void()> tick);
    // Stops the ticks until the pointer comes into one of the application's windows, so that a
    // program left alone does not wake ten times a second.
    virtual void PauseTicking();
    // The pointer's position on the screen.
    virtual QPoint PointerPosition() const;
    // Whether any mouse button is down.
    virtual bool ButtonsDown() const;
    // The visible widget at a point of the screen in the topmost of the application's windows
    // there, or null: widgets that are hidden, or covered by a sibling or another window, are
    // never found.
    virtual QWidget* WidgetAt(QPoint position) const;
    // The frame of the screen that shows the point (of the main screen when none does).
    virtual QRect ScreenFrame(QPoint position) const;

private:
    QTimer timer;
    // Resumes the ticks when the pointer arrives.
    std::unique_ptr<PointerArrival> arrival;
};
