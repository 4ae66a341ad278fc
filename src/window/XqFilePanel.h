// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include "kit/FourCC.h"
#include "kit/MessageEvent.h"

#include <QFileDialog>
#include <QPointer>

class QPushButton;

// The extra button's command to its panel: answer with the folder the panel shows.
inline constexpr uint32_t MSG_SELECT_CURRENT_DIR = kit::FourCC("SLCD");

// A chooser for files and folders: a file dialog made of Qt's own widgets (the desktop's dialog
// cannot take a button of ours) that shows files, folders and links, lets several be chosen with
// its default button, and hides when it has answered. Its extra button, "Select Current
// Directory", chooses the folder the panel shows, so that a folder can be chosen from inside.
//
// Each answer is posted to the receiver as a B_REFS_RECEIVED message whose "refs" name the chosen
// entries in order; the extra button's answer names the folder shown under "refs" and under
// "directory". The panel is reused: show it again for the next choice.
class XqFilePanel : public QFileDialog, public kit::Handler {
    // A file dialog class of its own keeps Qt from putting the desktop's dialog in its place.
    Q_OBJECT

public:
    // Answers to `receiver`; opens in `startDirectory` (the home folder when empty).
    XqFilePanel(QObject* receiver, const QString& startDirectory, QWidget* parent = nullptr);

    // The extra button; null when the panel's Cancel button could not be found to place it by.
    QPushButton* DirButton() const { return dirButton; }

    // MSG_SELECT_CURRENT_DIR answers with the folder shown.
    void MessageReceived(kit::Message* message) override;

    // The default button: answers with the chosen entries.
    void accept() override;

protected:
    bool event(QEvent* event) override;
    void hideEvent(QHideEvent* event) override;

private:
    void AddDirButton();
    void Answer(const kit::Message& answer);

    QPointer<QObject> target;
    QPushButton* dirButton = nullptr;
};
