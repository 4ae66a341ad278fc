// SPDX-License-Identifier: GPL-3.0-or-later
#include "app/DisplayCheck.h"

#include <QByteArray>
#include <QString>
#include <QtGlobal>
#include <cstdio>
#include <cstdlib>
#include <mutex>
#include <vector>

namespace {

QByteArray Variable(const char* name) {
    const char* value = std::getenv(name);
    return value ? QByteArray(value) : QByteArray();
}

// The display Qt is about to open, as the user named it: the Wayland display for the Wayland
// platform, the X display for X (Qt's choice when none is chosen), else the chosen platform.
QByteArray DisplayName() {
    const QByteArray platform = Variable("QT_QPA_PLATFORM");
    const QByteArray x = Variable("DISPLAY");
    const QByteArray wayland = Variable("WAYLAND_DISPLAY");
    if (platform.startsWith("wayland") && !wayland.isEmpty()) {
        return wayland;
    }
    if (!platform.isEmpty() && !platform.startsWith("xcb")) {
        return platform;
    }
    if (!x.isEmpty()) {
        return x;
    }
    return wayland.isEmpty() ? platform : wayland;
}

struct HeldMessage {
    QtMsgType type;
    QByteArray file;
    int line;
    QByteArray function;
    QByteArray category;
    QString text;
};

QByteArray cannotOpenLine; // the line said when the display cannot be opened
std::mutex heldLock;
std::vector<HeldMessage> held;
QtMessageHandler previousHandler = nullptr;

// The only fatal message while the application object is built is Qt's finding no platform
// plugin that could start, which means the display could not be opened.
void HoldOrFail(QtMsgType type, const QMessageLogContext& context, const QString& text) {
    if (type == QtFatalMsg) {
        std::fputs(cannotOpenLine.constData(), stderr);
        std::_Exit(1);
    }
    const std::lock_guard<std::mutex> guard(heldLock);
    held.push_back({type, context.file, context.line, context.function, context.category, text});
}

} // namespace

bool HasDisplay() {
    return !DisplayName().isEmpty();
}

DisplayOpenGuard::DisplayOpenGuard(const QString& cannotOpen) {
    cannotOpenLine = cannotOpen.arg(QString::fromLocal8Bit(DisplayName())).toLocal8Bit() + '\n';
    previousHandler = qInstallMessageHandler(HoldOrFail);
}

DisplayOpenGuard::~DisplayOpenGuard() {
    qInstallMessageHandler(previousHandler);
    const std::lock_guard<std::mutex> guard(heldLock);
    for (const HeldMessage& message : held) {
        const QMessageLogContext context(message.file.constData(), message.line,
                                         message.function.constData(),
                                         message.category.constData());
        previousHandler(message.type, context, message.text);
    }
    held.clear();
}
