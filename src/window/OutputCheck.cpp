// SPDX-License-Identifier: GPL-3.0-or-later
// Where each row's MP3 file goes and which rows would overwrite a file: recomputed once the
// user pauses changing what the names are made of, and asked about before a run.
#include "filelist/FileListView.h"
#include "window/ClashDialog.h"
#include "window/VambleWindow.h"

#include <QFile>

namespace {

// Long enough to wait out a typist's pause between keys, short enough to feel immediate.
constexpr std::chrono::milliseconds kOutputCheckDelay{300};

} // namespace

void VambleWindow::WatchOutputChanges() {
    outputCheckTimer.setSingleShot(true);
    outputCheckTimer.setInterval(kOutputCheckDelay);
    connect(&outputCheckTimer, &QTimer::timeout, this, [this] { CheckOutputs(); });
    for (const kit::TextControl* field : {saveInText, outputNameText}) {
        connect(field->Edit(), &QLineEdit::textChanged, this, [this] { ScheduleOutputCheck(); });
    }
    connect(mp3ExtensionCheck, &QCheckBox::toggled, this, [this] { ScheduleOutputCheck(); });
    fileList->SetOutputsChangedHandler([this] { ScheduleOutputCheck(); });
}

void VambleWindow::ScheduleOutputCheck() {
    outputCheckTimer.start();
}

void VambleWindow::CheckOutputs() {
    outputCheckTimer.stop();
    // The files being encoded are their rows' own, not clashes.
    std::unordered_set<std::string> writing;
    for (const int64_t id : queue->EncodingRows()) {
        if (const AudioItem* row = FindRow(id)) {
            writing.insert(row->Output().outputPath.native());
        }
    }
    FolderListings disk;
    fileList->UpdateOutputFiles(CurrentEncoderSettings(), [&](std::string_view path) {
        return !writing.contains(std::string(path)) && disk.Exists(path);
    });
}

VambleWindow::ClashDecision VambleWindow::AskAboutClashes() {
    CheckOutputs();
    std::unordered_set<int64_t> clashing;
    std::vector<std::string> paths;
    QStringList firstFew;
    for (int32_t i = 0; i < fileList->CountItems(); ++i) {
        const auto* row = dynamic_cast<const AudioItem*>(fileList->ItemAt(i));
        if (!row || row->done || row->Clash() == ClashKind::None) {
            continue;
        }
        clashing.insert(row->Id());
        paths.push_back(row->Output().outputPath.native());
        if (firstFew.size() < ClashDialog::kListed) {
            firstFew << QFile::decodeName(row->Output().outputPath.c_str()) +
                            (row->Clash() == ClashKind::ExistingFile
                                 ? tr(" (exists)")
                                 : tr(" (also written by an earlier row)"));
        }
    }
    if (clashing.empty()) {
        return {};
    }
    ClashDialog dialog(static_cast<int>(clashing.size()), firstFew, this);
    switch (dialog.Ask()) {
    case ClashDialog::Choice::Overwrite:
        return {true, {}, std::move(paths)};
    case ClashDialog::Choice::Skip:
        return {true, std::move(clashing), {}};
    case ClashDialog::Choice::Cancel:
        break;
    }
    return {false, {}, {}};
}
