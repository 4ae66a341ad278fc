// SPDX-License-Identifier: GPL-3.0-or-later
#include "bubblehelp/BubbleDesktop.h"

#include <QApplication>
#include <QCursor>
#include <QScreen>
#include <QWidget>

// While the ticks rest, watches the application's events for the pointer entering or moving over
// any of its widgets, and then starts them again.
class PointerArrival : public QObject {
public:
    explicit PointerArrival(QTimer& timer) : ticks(timer) {}

    void Watch() {
        if (!watching) {
            qApp->installEventFilter(this);
            watching = true;
        }
    }

protected:
    bool eventFilter(QObject* watched, QEvent* event) override {
        const QEvent::Type type = event->type();
        if (watched->isWidgetType() &&
            (type == QEvent::Enter || type == QEvent::MouseMove || type == QEvent::HoverMove)) {
            // Qt allows a filter to remove itself while it filters.
            qApp->removeEventFilter(this);
            watching = false;
            ticks.start(BubbleDesktop::kTickMilliseconds);
        }
        return false;
    }

private:
    QTimer& ticks;
    bool watching = false;
};

BubbleDesktop::BubbleDesktop() : arrival(std::make_unique<PointerArrival>(timer)) {}

BubbleDesktop::~BubbleDesktop() = default;

void BubbleDesktop::StartTicking(std::function<void()> tick) {
    QObject::connect(&timer, &QTimer::timeout, &timer, std::move(tick));
    timer.start(kTickMilliseconds);
}

void BubbleDesktop::PauseTicking() {
    timer.stop();
    arrival->Watch();
}

QPoint BubbleDesktop::PointerPosition() const {
    return QCursor::pos();
}

bool BubbleDesktop::ButtonsDown() const {
    return QGuiApplication::mouseButtons() != Qt::NoButton;
}

QWidget* BubbleDesktop::WidgetAt(QPoint position) const {
    return QApplication::widgetAt(position);
}

QRect BubbleDesktop::ScreenFrame(QPoint position) const {
    const QScreen* screen = QGuiApplication::screenAt(position);
    if (!screen) {
        screen = QGuiApplication::primaryScreen();
    }
    return screen ? screen->geometry() : QRect();
}
