// SPDX-License-Identifier: GPL-3.0-or-later
// The window's alerts and questions: window-modal, titled "Alert", never blocking the window.
#pragma once

#include <QString>
#include <functional>

class QWidget;

// An alert with one "OK" button.
void ShowAlert(QWidget* window, const QString& text);

// A question with two buttons, the second one the default and the answer to Escape; `answered`
// learns whether the first was chosen (closing the question is no).
void Ask(QWidget* window, const QString& text, const QString& yes, const QString& no,
         std::function<void(bool)> answered);
