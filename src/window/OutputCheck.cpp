// SPDX-License-Identifier: GPL-3.0-or-later
// The window's output check: what it watches, and its forwards.
#include "filelist/FileListView.h"
#include "window/EncoderTab.h"
#include "window/SettingsTab.h"
#include "window/VambleWindow.h"

void VambleWindow::WatchOutputChanges() {
    outputs = std::make_unique<OutputCheckView>(
        fileList, [this] { return ControlSettings(); },
        [this] { return run->Queue().EncodingRows(); });
    for (const kit::TextControl* field : {encoder->saveInText, options->outputNameText}) {
        connect(field->Edit(), &QLineEdit::textChanged, this, [this] { ScheduleOutputCheck(); });
    }
    connect(options->mp3ExtensionCheck, &QCheckBox::toggled, this,
            [this] { ScheduleOutputCheck(); });
    fileList->SetOutputsChangedHandler([this] { ScheduleOutputCheck(); });
}

void VambleWindow::ScheduleOutputCheck() {
    outputs->Schedule();
}

void VambleWindow::CheckOutputs(std::function<void()> then) {
    outputs->Check(std::move(then));
}

OutputCheckView::ClashDecision VambleWindow::AskAboutClashes() {
    return outputs->AskAboutClashes(this);
}
