// The window's side of an encoding run: finding the next row, building its command, starting
// the worker, applying what the worker reports, and stopping.
#include "encoding/EncodeMessages.h"
#include "encoding/EncoderCommand.h"
#include "filelist/FileListView.h"
#include "tagging/ID3Editor.h"
#include "tagging/ID3v2Writer.h"
#include "window/VambleWindow.h"
#include "window/WindowMessages.h"

#include <QFile>
#include <QMessageBox>
#include <QPushButton>
#include <algorithm>
#include <cstdio>
#include <memory>
#include <optional>
#include <string>
#include <utility>

namespace {

// How long the window waits for a stopped worker before letting it end on its own.
constexpr std::chrono::seconds kStopWait{1};

void Print(const std::string& line) {
    std::fputs(line.c_str(), stdout);
    std::fflush(stdout);
}

QString FileName(const AudioItem& row) {
    return QFile::decodeName(row.ref.path.filename().c_str());
}

// What a finished row's file is tagged with, taken from the row when it is marked done.
struct FinishedFile {
    std::string path;
    ID3_struct tag;
    int32_t track;
    std::string fullTitle;
    ReleaseTags release;
};

} // namespace

EncoderSettings VambleWindow::CurrentEncoderSettings() const {
    EncoderSettings settings;
    settings.outputDir = saveInText->Text().toStdString();
    settings.namePattern = outputNameText->Text().toStdString();
    settings.addExtension = mp3ExtensionCheck->isChecked();
    GetEncBits(settings.bitrate);
    settings.outputFormat = GetOutputFormat();
    settings.cpuCount = cpuSpin->Value();
    settings.vbrEnabled = vbrCheck->isChecked();
    settings.vbrLevel = vbrSpin->Value();
    settings.noPsy = noPsyCheck->isChecked();
    settings.priority = prioritySpin->Value();
    settings.deleteInput = deleteInputCheck->isChecked();
    return settings;
}

int32_t VambleWindow::CreateSwitches(std::string& command, int32_t index) {
    command.clear();
    const auto* row = dynamic_cast<const AudioItem*>(fileList->ItemAt(index));
    if (!row) {
        return 0;
    }
    const EncoderSettings settings = CurrentEncoderSettings();
    const std::unique_ptr<char[]> outputName(row->CreateString(settings.namePattern.c_str()));
    EncoderCommand built = BuildEncoderCommand(settings, row->ref.path, outputName.get());
    if (built.status == CommandStatus::Ready) {
        command = std::move(built.text);
        switchesOutput = std::move(built.outputPath);
        return 0;
    }
    // The folder alerts say what the user has to mend; a row that cannot be encoded at all is
    // named with the reason, rather than handed to an encoder that would fail on it.
    const char* alert = AlertMessage(built.status);
    const QString text = alert ? QString::fromUtf8(alert)
                               : QStringLiteral("The file “%1” cannot be encoded: %2")
                                     .arg(FileName(*row), QString::fromStdString(built.detail));
    StopThread();
    ShowAlert(text);
    return -1;
}

int VambleWindow::FilesAtOnce() const {
    return std::max(1, filesAtOnceSpin->Value());
}

bool VambleWindow::BeginRun() {
    const ClashDecision decision = AskAboutClashes();
    if (!decision.start) {
        return false;
    }
    std::vector<RunMonitor::RunRow> rows;
    for (int32_t i = 0; i < fileList->CountItems(); ++i) {
        const auto* row = dynamic_cast<const AudioItem*>(fileList->ItemAt(i));
        if (row && !row->done && !decision.skipped.contains(row->Id())) {
            rows.push_back({row->Id(), row->ref.path});
        }
    }
    if (rows.empty()) {
        return false;
    }
    leftOut = decision.skipped;
    claimedOutputs.Clear();
    runMonitor->Start(rows);
    return true;
}

void VambleWindow::EndRun(RunMonitor::EndKind kind, const QString& detail) {
    runMonitor->End(kind, detail);
    leftOut.clear();
    claimedOutputs.Clear();
    currentIndex = 0;
    ShowRunning(false);
}

void VambleWindow::Encode() {
    if (stopRequested || (!runMonitor->Running() && !BeginRun())) {
        return;
    }
    const auto passedOver = [this](const AudioItem* row) {
        return row->done || leftOut.contains(row->Id()) ||
               std::any_of(encoding.begin(), encoding.end(),
                           [row](const Encoding& e) { return e.row == row->Id(); });
    };
    // Rows start in list order; a row that is done, left out or being encoded is passed over.
    while (encoding.size() < static_cast<size_t>(FilesAtOnce())) {
        AudioItem* row = nullptr;
        for (;; ++currentIndex) {
            row = dynamic_cast<AudioItem*>(fileList->ItemAt(currentIndex));
            if (!row || !passedOver(row)) {
                break;
            }
        }
        if (!row) {
            break;
        }
        if (CreateSwitches(switches, currentIndex) == -1) {
            currentIndex = 0;
            return;
        }
        // Two rows of one run never write the same file: the later one is held back.
        if (!claimedOutputs.Claim(switchesOutput.native())) {
            leftOut.insert(row->Id());
            runMonitor->RowLeft(row->Id());
            ScheduleOutputCheck();
            continue;
        }
        auto worker = std::make_unique<EncodeWorker>();
        worker->Start({runId, row->Id(), switches}, messenger);
        encoding.push_back({row->Id(), std::move(worker), std::nullopt});
        if (FilesAtOnce() > 1) {
            row->progress = 0.0f;
            fileList->InvalidateItem(currentIndex);
        }

        const char* saveAs = row->GetColumnContentText(AudioItem::kSaveAsColumn);
        encodingFileText->setText(QStringLiteral("Encoding File: ") +
                                  QString::fromUtf8(saveAs ? saveAs : ""));
        Print(std::string(saveAs ? saveAs : "") + "\n");
        ShowRunning(true);
        filesRemainingText->setText(
            QStringLiteral("Files Remaining: %1").arg(fileList->GetNumItemsNotDone()));
    }
    // Nothing is left to start and nothing is being encoded: the run has ended.
    if (encoding.empty()) {
        EndRun(RunMonitor::EndKind::Finished);
    }
}

void VambleWindow::WorkerReported(const kit::Message& message) {
    int64_t run = 0;
    int64_t rowId = 0;
    if (message.Find("run", &run) != kit::B_OK || run != runId ||
        message.Find("row", &rowId) != kit::B_OK) {
        return; // a report of a run that was stopped or has ended
    }
    const auto found = std::find_if(encoding.begin(), encoding.end(),
                                    [rowId](const Encoding& e) { return e.row == rowId; });
    if (found == encoding.end()) {
        return; // the row was removed and its worker stopped
    }
    if (message.what == MSG_ENCODE_PROGRESS) {
        float fraction = 0.0f;
        if (message.Find("fraction", &fraction) == kit::B_OK) {
            found->reported = fraction;
            if (!progressTimer.isActive()) {
                progressTimer.start();
            }
        }
        return;
    }
    ShowProgress(); // what was reported before the end
    const bool startedLast = found + 1 == encoding.end();
    AudioItem* row = FindRow(rowId);
    encoding.erase(found); // the thread has ended; this joins it
    if (row) {
        row->progress = -1.0f;
    }
    bool encoded = false;
    bool stopped = false;
    std::string output;
    std::string reason;
    message.Find("encoded", &encoded);
    message.Find("stopped", &stopped);
    message.Find("output", &output);
    message.Find("reason", &reason);
    if (encoded) {
        Print("Done.\n");
        if (startedLast) {
            progressBar->SetFraction(1.0f);
        }
        SetFileDone(output.c_str(), rowId, true);
        return;
    }
    // A failed file ends the run, the others' too; the user learns which file failed and why,
    // and the row keeps the reason until it is encoded.
    if (stopped) {
        StopThread();
        return;
    }
    const QString text = QStringLiteral("The file “%1” was not encoded: %2")
                             .arg(row ? FileName(*row) : QString::fromStdString(output),
                                  QString::fromStdString(reason));
    if (row) {
        row->SetFailure(reason);
        fileList->InvalidateItem(fileList->IndexOf(row));
    }
    EndRun(RunMonitor::EndKind::Failed, text);
    StopThread();
    ShowAlert(text);
}

void VambleWindow::ShowProgress() {
    progressTimer.stop();
    for (Encoding& e : encoding) {
        if (!e.reported) {
            continue;
        }
        const float fraction = *std::exchange(e.reported, std::nullopt);
        // The status area follows the row started last; each row shows its own progress.
        if (&e == &encoding.back()) {
            progressBar->SetFraction(fraction);
        }
        runMonitor->Progress(e.row, fraction);
        AudioItem* row = FindRow(e.row);
        if (row && row->progress >= 0.0f) {
            row->progress = fraction;
            fileList->InvalidateItem(fileList->IndexOf(row));
        }
    }
}

void VambleWindow::SetFileDone(const char* outputPath, int64_t rowId, bool isDone) {
    AudioItem* row = FindRow(rowId);
    // The tag is the row's as it is now, so that tags applied during the run reach the file.
    std::optional<FinishedFile> finished;
    if (isDone && row) {
        row->SetItemDone(true);
        fileList->InvalidateItem(fileList->IndexOf(row));
        runMonitor->RowDone(rowId);
        finished = FinishedFile{outputPath, row->tag, row->track, row->FullTitle(), row->release};
    }
    switches.clear();
    const int32_t remaining = fileList->GetNumItemsNotDone();
    filesRemainingText->setText(QStringLiteral("Files Remaining: %1").arg(remaining));
    if (remaining == 0) {
        EndRun(RunMonitor::EndKind::Finished);
    } else {
        // The next row's encoder starts before this file is tagged, so that it never waits for
        // the tag writer: on a free processor, the tags are written while it starts.
        Encode();
    }
    if (finished) {
        ID3Editor editor(finished->path.c_str(), &finished->tag, finished->track);
        editor.WriteTag();
        editor.WriteTagsToAttr();
        if (id3v2Check->isChecked()) {
            WriteID3v2Tag(finished->path.c_str(), finished->tag, finished->fullTitle,
                          finished->track, finished->release);
        }
    }
    ScheduleOutputCheck(); // the file is there now
}

void VambleWindow::StopWorkers(std::vector<Encoding>& stopping) {
    for (Encoding& e : stopping) {
        e.worker->RequestStop();
    }
    const auto deadline = std::chrono::steady_clock::now() + kStopWait;
    for (Encoding& e : stopping) {
        Print("Wait for thread.\nWaiting for thread: vamble_thread\n");
        const auto left = std::chrono::duration_cast<std::chrono::milliseconds>(
            deadline - std::chrono::steady_clock::now());
        e.worker->Wait(std::max(left, std::chrono::milliseconds(0)));
        if (AudioItem* row = FindRow(e.row)) {
            row->progress = -1.0f;
            fileList->InvalidateItem(fileList->IndexOf(row));
        }
    }
    stopping.clear();
}

void VambleWindow::StopThread() {
    stopRequested = true;
    ++runId;
    StopWorkers(encoding);
    stopRequested = false;
    EndRun(RunMonitor::EndKind::Stopped);
}

void VambleWindow::RowRemoved(const AudioItem* row) {
    if (row && runMonitor->Running() && !row->done && !leftOut.contains(row->Id())) {
        runMonitor->RowLeft(row->Id());
    }
    const auto found = std::find_if(encoding.begin(), encoding.end(),
                                    [row](const Encoding& e) { return row && e.row == row->Id(); });
    if (found == encoding.end()) {
        return;
    }
    std::vector<Encoding> stopping;
    stopping.push_back(std::move(*found));
    encoding.erase(found);
    StopWorkers(stopping);
    kit::PostMessage(this, kit::Message(MSG_ENCODE));
}

AudioItem* VambleWindow::FindRow(int64_t id) const {
    // The row is usually where the run left it; otherwise rows were removed or added meanwhile.
    return fileList->FindRow(id, currentIndex).first;
}

void VambleWindow::ShowRunning(bool running) {
    encodeButton->setEnabled(!running);
    stopButton->setEnabled(running);
    if (!running) {
        cdPopUp->setEnabled(true);
    }
}

void VambleWindow::ShowAlert(const QString& text) {
    auto* alert = new QMessageBox(QMessageBox::Information, QStringLiteral("Alert"), text,
                                  QMessageBox::NoButton, this);
    alert->addButton(QStringLiteral("OK"), QMessageBox::AcceptRole);
    alert->setAttribute(Qt::WA_DeleteOnClose);
    alert->setWindowModality(Qt::WindowModal);
    alert->open();
}
