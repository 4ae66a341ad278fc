// SPDX-License-Identifier: GPL-3.0-or-later
// The question asked when Encode is pressed while rows would overwrite files: overwrite them,
// leave those rows out of the run, or start nothing.
#pragma once

#include <QCoreApplication>
#include <QMessageBox>
#include <QStringList>

class QPushButton;

class ClashDialog : public QMessageBox {
    Q_DECLARE_TR_FUNCTIONS(ClashDialog)

public:
    enum class Choice { Overwrite, Skip, Cancel };

    // `count` rows clash; `firstFew` names the first of them, one line each (at most kListed
    // are shown, and how many more there are).
    ClashDialog(int count, const QStringList& firstFew, QWidget* parent = nullptr);

    // Shows the question modally and returns the answer; closing it (Escape) cancels.
    Choice Ask();

    static constexpr int kListed = 5;

private:
    QPushButton* overwriteButton;
    QPushButton* skipButton;
    QPushButton* cancelButton;
};
