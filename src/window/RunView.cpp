// SPDX-License-Identifier: GPL-3.0-or-later
#include "window/RunView.h"

#include "encoding/EncoderCommand.h"
#include "encoding/RunWorkers.h"
#include "filelist/FileListView.h"
#include "kit/ElidedLabel.h"
#include "kit/Messenger.h"
#include "window/Alerts.h"
#include "window/SettingsTab.h"

#include <QFile>
#include <QLabel>
#include <chrono>
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

RunView::RunView(WindowParts parts)
    : ui(std::move(parts)), messenger(std::make_shared<kit::Messenger>(&context)),
      monitor(ui.window, ui.runStatus, notifier, launcher) {
    progressTimer.setSingleShot(true);
    progressTimer.setInterval(std::chrono::milliseconds(100));
    QObject::connect(&progressTimer, &QTimer::timeout, &context, [this] { ShowProgress(); });
    // The workers report to the queue on this thread, while the view is there.
    queue = std::make_unique<EncodeQueue>(
        static_cast<EncodeQueue::Hooks&>(*this),
        std::make_unique<RunWorkers>([reply = messenger, this](RunReport report) {
            reply->Invoke([this, report = std::move(report)] { queue->Deliver(report); });
        }));
}

RunView::~RunView() {
    // A worker still ending reports nothing from here on.
    messenger->Clear();
}

int RunView::FilesAtOnce() const {
    return std::max(1, ui.options->filesAtOnceSpin->Value());
}

std::optional<QueuedRow> RunView::RowAt(int32_t index) {
    const auto* row = dynamic_cast<const AudioItem*>(ui.list->ItemAt(index));
    if (!row) {
        return std::nullopt;
    }
    return QueuedRow{row->Id(), row->done, row->ref.path};
}

EncoderCommand RunView::Command(int32_t index) {
    const auto* row = dynamic_cast<const AudioItem*>(ui.list->ItemAt(index));
    if (!row) {
        EncoderCommand none;
        none.status = CommandStatus::NoCommand;
        none.detail = tr("The row is no longer in the list.").toStdString();
        return none;
    }
    const EncoderSettings settings = ui.settings();
    const std::unique_ptr<char[]> outputName(row->CreateString(settings.namePattern.c_str()));
    return PlanEncoderCommand(settings, row->ref.path, outputName.get());
}

void RunView::RowStarted(int64_t id) {
    const auto [row, index] = ui.list->FindRow(id, queue->CurrentIndex());
    if (!row) {
        return;
    }
    if (FilesAtOnce() > 1) {
        row->progress = 0.0f;
        ui.list->InvalidateItem(index);
    }
    const char* saveAs = row->GetColumnContentText(AudioItem::kSaveAsColumn);
    Print(std::string(saveAs ? saveAs : "") + "\n");
    FollowRow(id);
    ShowFilesRemaining();
}

void RunView::FollowRow(int64_t id) {
    statusRow = id;
    const AudioItem* row = FindRow(id);
    const char* saveAs = row ? row->GetColumnContentText(AudioItem::kSaveAsColumn) : nullptr;
    ui.status->setText(tr("Encoding File: ") + QString::fromUtf8(saveAs ? saveAs : ""));
    // A row encoded beside others knows how far it is; a row on its own shows it as it comes.
    if (row && row->progress >= 0.0f) {
        ui.bar->SetFraction(row->progress);
    }
}

void RunView::FollowNewestRow() {
    const std::vector<int64_t> encoding = queue->EncodingRows();
    if (!encoding.empty() && encoding.back() != statusRow) {
        FollowRow(encoding.back());
    }
}

void RunView::Progress(int64_t id, float fraction) {
    unshownProgress[id] = fraction;
    if (!progressTimer.isActive()) {
        progressTimer.start();
    }
}

void RunView::RunProgressed(const RunSummary& summary) {
    monitor.Show(summary);
}

void RunView::ShowProgress() {
    progressTimer.stop();
    for (const auto& [id, fraction] : std::exchange(unshownProgress, {})) {
        if (id == statusRow) {
            ui.bar->SetFraction(fraction);
        }
        const auto [row, index] = ui.list->FindRow(id, queue->CurrentIndex());
        if (row && row->progress >= 0.0f) {
            row->progress = fraction;
            ui.list->InvalidateItem(index);
        }
    }
}

std::optional<FinishedFile> RunView::RowEncoded(int64_t id, const std::filesystem::path& output) {
    ShowProgress(); // what was reported before the end
    if (id == statusRow) {
        ui.bar->SetFraction(1.0f);
    }
    Print("Done.\n");
    SetFileDone(id, true);
    FollowNewestRow();
    const AudioItem* row = FindRow(id);
    if (!row) {
        return std::nullopt;
    }
    FinishedFile file = row->Finished(output);
    file.id3v2 = ui.options->id3v2Check->isChecked();
    file.embedCover = ui.options->embedCoverCheck->isChecked();
    return file;
}

void RunView::SetFileDone(int64_t id, bool isDone) {
    const auto [row, index] = ui.list->FindRow(id, queue->CurrentIndex());
    if (isDone && row) {
        row->progress = -1.0f;
        row->SetItemDone(true);
        ui.list->InvalidateItem(index);
    }
    ShowFilesRemaining();
    ui.outputsChanged(); // the file is there now
}

void RunView::RowFailed(int64_t id, const std::string& reason) {
    const auto [row, index] = ui.list->FindRow(id, queue->CurrentIndex());
    if (row) {
        row->progress = -1.0f;
        row->SetFailure(reason);
        ui.list->InvalidateItem(index);
    }
    FollowNewestRow();
}

void RunView::RowHeldBack(int64_t id, ClashKind kind) {
    const auto [row, index] = ui.list->FindRow(id, queue->CurrentIndex());
    if (row) {
        row->SetClash(kind);
        ui.list->InvalidateItem(index);
    }
    ui.outputsChanged(); // names the row it clashes with
}

void RunView::RowTagged(int64_t id, const std::string& warning) {
    const auto [row, index] = ui.list->FindRow(id, queue->CurrentIndex());
    if (row && row->done && row->Warning() != warning) {
        row->SetWarning(warning);
        ui.list->InvalidateItem(index);
    }
}

void RunView::RunEnded(const RunEnd& end) {
    ui.ending(end);
    ShowProgress();
    unshownProgress.clear();
    for (int32_t i = 0; i < ui.list->CountItems(); ++i) {
        auto* row = dynamic_cast<AudioItem*>(ui.list->ItemAt(i));
        if (row && row->progress >= 0.0f) {
            row->progress = -1.0f;
            ui.list->InvalidateItem(i);
        }
    }
    statusRow = 0;
    ui.status->setText(tr("Encoding File: "));
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
    monitor.End(end, told.join(QLatin1Char('\n')));
    ui.showRunning(false);
    ShowFilesRemaining();
    // A stop is the user's own doing: it needs no alert.
    if (!told.isEmpty() && end.kind != RunEnd::Kind::Stopped) {
        ShowAlert(ui.window, told.join(QStringLiteral("\n\n")));
    }
}

void RunView::RowRemoved(int64_t id) {
    queue->RowRemoved(id);
    unshownProgress.erase(id);
}

AudioItem* RunView::FindRow(int64_t id) const {
    // The row is usually where the run left it; otherwise rows were removed or added meanwhile.
    return ui.list->FindRow(id, queue->CurrentIndex()).first;
}

void RunView::ShowFilesRemaining() const {
    ui.filesRemaining->setText(tr("Files Remaining: %1").arg(ui.list->GetNumItemsNotDone()));
}
