// SPDX-License-Identifier: GPL-3.0-or-later
// The window's side of an encoding run: beginning it after the output check and the clash
// question, stopping it, and the buttons; and the output check's forwards.
#include "encoding/EncoderCommand.h"
#include "filelist/FileListView.h"
#include "kit/ElidedLabel.h"
#include "window/EncoderTab.h"
#include "window/SettingsTab.h"
#include "window/VambleWindow.h"

#include <QPushButton>
#include <utility>

EncoderSettings VambleWindow::ControlSettings() const {
    EncoderSettings settings;
    encoder->Read(settings);
    settings.namePattern = options->outputNameText->Text().toStdString();
    settings.addExtension = options->mp3ExtensionCheck->isChecked();
    return settings;
}

EncoderSettings VambleWindow::CurrentEncoderSettings() const {
    EncoderSettings settings = ControlSettings();
    // The output check asks the disk off this thread, and Encode waits for it.
    settings.windowsNames = outputs->WindowsNames(settings);
    return settings;
}

int32_t VambleWindow::CreateSwitches(EncoderCommand& command, int32_t index) {
    command = PrepareCommand(run->Command(index));
    return command.status == CommandStatus::Ready ? 0 : -1;
}

void VambleWindow::Encode() {
    if (!run->Queue().Running()) {
        if (waitingForTags) {
            return;
        }
        // The tags of files just added name their output files. A file may be slow to read (a
        // network folder, a sleeping disk): the window goes on answering meanwhile.
        if (fileList->ReadingTags()) {
            waitingForTags = true;
            ShowRunning(true);
            encodingFileText->setText(tr("Reading the tags of the files added…"));
            fileList->WhenTagsRead([this] {
                if (std::exchange(waitingForTags, false)) {
                    ShowRunning(false);
                    encodingFileText->setText(tr("Encoding File: "));
                    Encode();
                }
            });
            return;
        }
        if (fileList->GetNumItemsNotDone() == 0) {
            return; // nothing to encode
        }
        // The output files are looked at anew, off this thread, before the run begins: a USB
        // stick may have been mounted at the folder, or a file written there, since the last look.
        startingRun = true;
        ShowRunning(true);
        CheckOutputs([this] {
            ShowRunning(false);
            if (BeginRun()) {
                run->Queue().StartMore();
            }
            startingRun = false;
        });
        return;
    }
    run->Queue().StartMore();
}

bool VambleWindow::BeginRun() {
    ClashDecision decision = AskAboutClashes();
    if (!decision.start) {
        return false;
    }
    RunStart start;
    start.leftOut = std::move(decision.skipped);
    start.agreed = std::move(decision.agreed);
    start.replayGain = options->ReplayGain();
    start.deleteInput = encoder->deleteInputCheck->isChecked();
    if (!run->Queue().Begin(std::move(start))) {
        return false;
    }
    ShowRunning(true);
    return true;
}

void VambleWindow::StopThread() {
    if (std::exchange(waitingForTags, false)) {
        encodingFileText->setText(tr("Encoding File: "));
    }
    // A run waiting for its output check does not begin.
    if (std::exchange(startingRun, false)) {
        outputs->ForgetWaiting();
    }
    run->Queue().Stop();
    ShowRunning(false);
}

void VambleWindow::SetFileDone(const char* /*outputPath*/, int64_t id, bool isDone) {
    run->SetFileDone(id, isDone);
}

void VambleWindow::ShowRunning(bool running) {
    encodeButton->setEnabled(!running);
    stopButton->setEnabled(running);
    if (!running) {
        cds->PopUp()->setEnabled(true);
    }
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
