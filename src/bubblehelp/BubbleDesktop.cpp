#include "bubblehelp/BubbleDesktop.h"

#include <QApplication>
#include <QCursor>
#include <QScreen>
#include <QWidget>

void BubbleDesktop::StartTicking(std::function<void()> tick) {
    QObject::connect(&timer, &QTimer::timeout, &timer, std::move(tick));
    timer.start(kTickMilliseconds);
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
