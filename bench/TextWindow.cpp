// SPDX-License-Identifier: GPL-3.0-or-later
// A second yardstick for bench/startup.sh: the bare window with one line of text in it, so that
// what Qt costs to draw any text at all (Fontconfig's set-up, the font database, the first font
// engine) shows apart from what the program's own window costs.
#include <QApplication>
#include <QLabel>
#include <QMainWindow>

int main(int argc, char** argv) {
    QApplication app(argc, argv);
    QMainWindow window;
    window.setCentralWidget(new QLabel(QStringLiteral("Vamble")));
    window.show();
    return QApplication::exec();
}
