// SPDX-License-Identifier: GPL-3.0-or-later
#include "support/WidgetTestSetup.h"

#include <QApplication>
#include <QDir>
#include <QFont>
#include <QWidget>
#include <cstdlib>

void PrepareWidgetTests() {
    setenv("QT_QPA_PLATFORM", "offscreen", 0);
}

void UseTestFont() {
    QApplication::setFont(QFont(QStringLiteral("DejaVu Sans"), 9));
}

void SaveForInspection(const QImage& picture, const QString& name) {
    const QString folder = qEnvironmentVariable("VAMBLE_SCREENSHOT_DIR");
    if (!folder.isEmpty()) {
        QDir().mkpath(folder);
        picture.save(folder + QLatin1Char('/') + name + QStringLiteral(".png"));
    }
}

QImage SaveScreenshot(QWidget* widget, const QString& name) {
    const QImage picture = widget->grab().toImage();
    SaveForInspection(picture, name);
    return picture;
}
