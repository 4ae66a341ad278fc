// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <QImage>
#include <QString>

class QWidget;

// Before the application object: widget tests run offscreen unless told otherwise.
void PrepareWidgetTests();
// After it: with no font configured offscreen Qt may draw no text at all, so every widget test
// uses one fixed font.
void UseTestFont();
// Saves the picture as NAME.png in the folder named by VAMBLE_SCREENSHOT_DIR, when that is set,
// so a developer can look at what a test drew.
void SaveForInspection(const QImage& picture, const QString& name);
// Grabs the widget, saves the picture as SaveForInspection does and returns it.
QImage SaveScreenshot(QWidget* widget, const QString& name);
