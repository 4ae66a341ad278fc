// SPDX-License-Identifier: GPL-3.0-or-later
// The window's side of an encoding run: beginning it, building each row's command, and showing
// what the run's queue reports.
#include "encoding/EncoderCommand.h"
#include "encoding/OutputSurvey.h"
#include "filelist/FileListView.h"
#include "window/Alerts.h"
#include "window/EncoderTab.h"
#include "window/SettingsTab.h"
#include "window/VambleWindow.h"

#include <QFile>
#include <QMessageBox>
#include <QPushButton>
#include <algorithm>
#include <cstdio>
#include <memory>
#include <string>
#include <utility>

namespace {

void Print(const std::string& line) {
    std::fputs(line.c_str(), stdout);
    std::fflush(stdout);
}

QString FileName(const AudioItem& row) {
    return QFile::decodeName(row.ref.path.filename().c_str());
}

} // namespace

EncoderSettings VambleWindow::ControlSettings() const {
    EncoderSettings settings;
    encoder->Read(settings);
    settings.namePattern = options->outputNameText->Text().toStdString();
    settings.addExtension = options->mp3ExtensionCheck->isChecked();
    return settings;
}

EncoderSettings VambleWindow::CurrentEncoderSettings() const {
    EncoderSettings settings = ControlSettings();
    // The output check asks the disk off this thread, and Encode waits for it; only a folder
    // typed since the last check is asked here.
    const std::string folder = PlanOutputPath(settings, {}).directory;
    settings.windowsNames = folder == outputFolderNames.first
                                ? outputFolderNames.second
                                : OutputFolderTakesOnlyWindowsNames(settings);
    return settings;
}

int32_t VambleWindow::CreateSwitches(EncoderCommand& command, int32_t index) {
    command = PrepareCommand(Command(index));
    return command.status == CommandStatus::Ready ? 0 : -1;
}

int VambleWindow::FilesAtOnce() const {
    return std::max(1, options->filesAtOnceSpin->Value());
}

void VambleWindow::Encode() {
    if (!queue->Running()) {
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
                queue->StartMore();
            }
            startingRun = false;
        });
        return;
    }
    queue->StartMore();
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
    if (!queue->Begin(std::move(start))) {
        return false;
    }
    ShowRunning(true);
    return true;
}

ReportSink VambleWindow::RunReportSink() {
    return [reply = messenger, this](RunReport report) {
        reply->Invoke([this, report = std::move(report)] { queue->Deliver(report); });
    };
}

std::optional<QueuedRow> VambleWindow::RowAt(int32_t index) {
    const auto* row = dynamic_cast<const AudioItem*>(fileList->ItemAt(index));
    if (!row) {
        return std::nullopt;
    }
    return QueuedRow{row->Id(), row->done, row->ref.path};
}

EncoderCommand VambleWindow::Command(int32_t index) {
    const auto* row = dynamic_cast<const AudioItem*>(fileList->ItemAt(index));
    if (!row) {
        EncoderCommand none;
        none.status = CommandStatus::NoCommand;
        none.detail = tr("The row is no longer in the list.").toStdString();
        return none;
    }
    const EncoderSettings settings = CurrentEncoderSettings();
    const std::unique_ptr<char[]> outputName(row->CreateString(settings.namePattern.c_str()));
    return PlanEncoderCommand(settings, row->ref.path, outputName.get());
}

void VambleWindow::RowStarted(int64_t id) {
    const auto [row, index] = fileList->FindRow(id, CurrentIndex());
    if (!row) {
        return;
    }
    if (FilesAtOnce() > 1) {
        row->progress = 0.0f;
        fileList->InvalidateItem(index);
    }
    const char* saveAs = row->GetColumnContentText(AudioItem::kSaveAsColumn);
    Print(std::string(saveAs ? saveAs : "") + "\n");
    FollowRow(id);
    ShowFilesRemaining();
}

void VambleWindow::FollowRow(int64_t id) {
    statusRow = id;
    const AudioItem* row = FindRow(id);
    const char* saveAs = row ? row->GetColumnContentText(AudioItem::kSaveAsColumn) : nullptr;
    encodingFileText->setText(tr("Encoding File: ") + QString::fromUtf8(saveAs ? saveAs : ""));
    // A row encoded beside others knows how far it is; a row on its own shows it as it comes.
    if (row && row->progress >= 0.0f) {
        progressBar->SetFraction(row->progress);
    }
}

void VambleWindow::FollowNewestRow() {
    const std::vector<int64_t> encoding = queue->EncodingRows();
    if (!encoding.empty() && encoding.back() != statusRow) {
        FollowRow(encoding.back());
    }
}

void VambleWindow::Progress(int64_t id, float fraction) {
    unshownProgress[id] = fraction;
    if (!progressTimer.isActive()) {
        progressTimer.start();
    }
}

void VambleWindow::RunProgressed(const RunSummary& summary) {
    runMonitor->Show(summary);
}

void VambleWindow::ShowProgress() {
    progressTimer.stop();
    for (const auto& [id, fraction] : std::exchange(unshownProgress, {})) {
        if (id == statusRow) {
            progressBar->SetFraction(fraction);
        }
        const auto [row, index] = fileList->FindRow(id, CurrentIndex());
        if (row && row->progress >= 0.0f) {
            row->progress = fraction;
            fileList->InvalidateItem(index);
        }
    }
}

std::optional<FinishedFile> VambleWindow::RowEncoded(int64_t id,
                                                     const std::filesystem::path& output) {
    ShowProgress(); // what was reported before the end
    if (id == statusRow) {
        progressBar->SetFraction(1.0f);
    }
    Print("Done.\n");
    SetFileDone(output.c_str(), id, true);
    FollowNewestRow();
    const AudioItem* row = FindRow(id);
    if (!row) {
        return std::nullopt;
    }
    FinishedFile file = row->Finished(output);
    file.id3v2 = options->id3v2Check->isChecked();
    file.embedCover = options->embedCoverCheck->isChecked();
    return file;
}

void VambleWindow::SetFileDone(const char* /*outputPath*/, int64_t id, bool isDone) {
    const auto [row, index] = fileList->FindRow(id, CurrentIndex());
    if (isDone && row) {
        row->progress = -1.0f;
        row->SetItemDone(true);
        fileList->InvalidateItem(index);
    }
    ShowFilesRemaining();
    ScheduleOutputCheck(); // the file is there now
}

void VambleWindow::RowFailed(int64_t id, const std::string& reason) {
    const auto [row, index] = fileList->FindRow(id, CurrentIndex());
    if (row) {
        row->progress = -1.0f;
        row->SetFailure(reason);
        fileList->InvalidateItem(index);
    }
    FollowNewestRow();
}

void VambleWindow::RowHeldBack(int64_t id, ClashKind kind) {
    const auto [row, index] = fileList->FindRow(id, CurrentIndex());
    if (row) {
        row->SetClash(kind);
        fileList->InvalidateItem(index);
    }
    ScheduleOutputCheck(); // names the row it clashes with
}

void VambleWindow::RowTagged(int64_t id, const std::string& warning) {
    const auto [row, index] = fileList->FindRow(id, CurrentIndex());
    if (row && row->done && row->Warning() != warning) {
        row->SetWarning(warning);
        fileList->InvalidateItem(index);
    }
}

void VambleWindow::RunEnded(const RunEnd& end) {
    // Finished, it leaves nothing to stop and the window closes as asked; failed, the window
    // stays for its alert.
    if (stopQuestion != nullptr && end.kind != RunEnd::Kind::Stopped) {
        runEndedWhileAsked = end.kind == RunEnd::Kind::Finished;
        stopQuestion->done(QDialog::Rejected);
    }
    ShowProgress();
    unshownProgress.clear();
    for (int32_t i = 0; i < fileList->CountItems(); ++i) {
        auto* row = dynamic_cast<AudioItem*>(fileList->ItemAt(i));
        if (row && row->progress >= 0.0f) {
            row->progress = -1.0f;
            fileList->InvalidateItem(i);
        }
    }
    statusRow = 0;
    QStringList told;
    if (end.failure) {
        const RunFailure& failure = *end.failure;
        const AudioItem* row = FindRow(failure.row);
        const QString name = row ? FileName(*row) : QFile::decodeName(failure.output.c_str());
        // No folder given (or no home folder for a relative one): nothing was tried to make, and
        // the reason says what to mend.
        const bool noFolder = failure.status == CommandStatus::OutputDirectoryError &&
                              failure.output.empty() && !failure.reason.empty();
        const char* alert = noFolder ? nullptr : AlertMessage(failure.status);
        told << (noFolder           ? QString::fromStdString(failure.reason)
                 : alert != nullptr ? QCoreApplication::translate("EncoderCommand", alert)
                 : failure.status == CommandStatus::Ready
                     ? tr("The file “%1” was not encoded: %2")
                           .arg(name, QString::fromStdString(failure.reason))
                     : tr("The file “%1” cannot be encoded: %2")
                           .arg(name, QString::fromStdString(failure.reason)));
    }
    if (end.heldBack > 0) {
        told << (end.heldBack == 1
                     ? tr("1 file was not encoded because its output file exists or "
                          "another row writes it; its row is marked.")
                     : tr("%1 files were not encoded because their output files exist "
                          "or other rows write them; their rows are marked.")
                           .arg(end.heldBack));
    }
    runMonitor->End(end, told.join(QLatin1Char('\n')));
    ShowRunning(false);
    ShowFilesRemaining();
    // A stop is the user's own doing: it needs no alert.
    if (!told.isEmpty() && end.kind != RunEnd::Kind::Stopped) {
        ShowAlert(this, told.join(QStringLiteral("\n\n")));
    }
}

void VambleWindow::StopThread() {
    if (std::exchange(waitingForTags, false)) {
        encodingFileText->setText(tr("Encoding File: "));
    }
    // A run waiting for its output check does not begin.
    if (std::exchange(startingRun, false)) {
        afterOutputCheck.clear();
    }
    queue->Stop();
    ShowRunning(false);
}

void VambleWindow::RowRemoved(const AudioItem& row) {
    queue->RowRemoved(row.Id());
    unshownProgress.erase(row.Id());
}

AudioItem* VambleWindow::FindRow(int64_t id) const {
    // The row is usually where the run left it; otherwise rows were removed or added meanwhile.
    return fileList->FindRow(id, CurrentIndex()).first;
}

void VambleWindow::ShowRunning(bool running) {
    encodeButton->setEnabled(!running);
    stopButton->setEnabled(running);
    if (!running) {
        cds->PopUp()->setEnabled(true);
    }
}

void VambleWindow::ShowFilesRemaining() {
    filesRemainingText->setText(tr("Files Remaining: %1").arg(fileList->GetNumItemsNotDone()));
}
