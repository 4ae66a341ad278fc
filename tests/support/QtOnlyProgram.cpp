// SPDX-License-Identifier: GPL-3.0-or-later
// The yardstick of the program_libraries test, never run: a program of Qt's widgets and D-Bus
// alone, built with the same settings as the program.
#include <QApplication>
#include <QDBusConnection>

int main(int argc, char** argv) {
    const QApplication app(argc, argv);
    return QDBusConnection::sessionBus().isConnected() ? 0 : 1;
}
