// SPDX-License-Identifier: GPL-3.0-or-later
// The yardstick of bench/startup.sh: a Qt program that shows an empty QMainWindow and nothing
// else, so that the program's start is measured against what Qt itself costs on this machine.
#include <QApplication>
#include <QMainWindow>

int main(int argc, char** argv) {
    QApplication app(argc, argv);
    QMainWindow window;
    window.show();
    return QApplication::exec();
}
