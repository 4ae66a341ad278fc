// SPDX-License-Identifier: GPL-3.0-or-later
// The window's output folder: the chooser, and folders dropped on the window.
#include "kit/FileDrop.h"
#include "window/EncoderTab.h"
#include "window/VambleWindow.h"
#include "window/XqFilePanel.h"

#include <QFile>
#include <QFileInfo>
#include <filesystem>
#include <system_error>

void VambleWindow::AcceptFolderDrops() {
    auto* drops = new kit::FileDropFilter(this, this);
    drops->Watch(this);
    // The field would paste a dropped folder's address as text; it takes the folder instead.
    drops->Watch(encoder->saveInText->Edit());
}

void VambleWindow::SelectDirectory() {
    if (!dirPanel) {
        // It opens where the output folder is, when that is a folder.
        const QString current = encoder->saveInText->Text();
        dirPanel = new XqFilePanel(this, QFileInfo(current).isDir() ? current : QString(), this);
        dirPanel->setLabelText(QFileDialog::Accept, tr("Select"));
        dirPanel->show();
        return;
    }
    if (dirPanel->isMinimized()) {
        dirPanel->showNormal();
    } else if (dirPanel->isHidden()) {
        dirPanel->show();
    } else if (!dirPanel->isActiveWindow()) {
        dirPanel->raise();
        dirPanel->activateWindow();
    }
}

void VambleWindow::SetOutputDirectory(const kit::Message& refs) {
    kit::EntryRef ref;
    if (refs.Find("refs", &ref) != kit::B_OK) {
        return;
    }
    // The entry itself is followed when it is a link.
    std::error_code error;
    const std::filesystem::path folder = std::filesystem::canonical(ref.path, error);
    if (error || !std::filesystem::is_directory(folder, error)) {
        return;
    }
    encoder->saveInText->SetText(QFile::decodeName(QByteArray::fromStdString(folder.native())));
}
