// SPDX-License-Identifier: GPL-3.0-or-later
// Where each row's MP3 file goes and which rows would overwrite a file: recomputed once the
// user pauses changing what the names are made of, and asked about before a run.
#include "encoding/OutputSurvey.h"
#include "filelist/FileListView.h"
#include "window/ClashDialog.h"
#include "window/EncoderTab.h"
#include "window/SettingsTab.h"
#include "window/VambleWindow.h"

#include <QFile>
#include <QThreadPool>

namespace {

// Long enough to wait out a typist's pause between keys, short enough to feel immediate.
constexpr std::chrono::milliseconds kOutputCheckDelay{300};

} // namespace

void VambleWindow::WatchOutputChanges() {
    outputCheckTimer.setSingleShot(true);
    outputCheckTimer.setInterval(kOutputCheckDelay);
    connect(&outputCheckTimer, &QTimer::timeout, this, [this] { CheckOutputs(); });
    for (const kit::TextControl* field : {encoder->saveInText, options->outputNameText}) {
        connect(field->Edit(), &QLineEdit::textChanged, this, [this] { ScheduleOutputCheck(); });
    }
    connect(options->mp3ExtensionCheck, &QCheckBox::toggled, this,
            [this] { ScheduleOutputCheck(); });
    fileList->SetOutputsChangedHandler([this] { ScheduleOutputCheck(); });
}

void VambleWindow::ScheduleOutputCheck() {
    outputCheckTimer.start();
}

void VambleWindow::CheckOutputs(std::function<void()> then) {
    outputCheckTimer.stop();
    if (then) {
        afterOutputCheck.push_back(std::move(then));
    }
    EncoderSettings settings = ControlSettings();
    std::vector<std::string> names = fileList->OutputNames(settings.namePattern);
    const int check = ++outputCheck;
    QThreadPool::globalInstance()->start(
        [check, settings, names = std::move(names), reply = messenger, this]() mutable {
            OutputSurvey survey = SurveyOutputs(settings, names);
            reply->Invoke([check, settings, survey = std::move(survey), this]() mutable {
                // A later check supersedes this one: it looks at what was changed since.
                if (check == outputCheck) {
                    ShowOutputs(settings, survey);
                }
            });
        });
}

void VambleWindow::ShowOutputs(EncoderSettings settings, const OutputSurvey& survey) {
    outputFolderNames = {PlanOutputPath(settings, {}).directory, survey.windowsNames};
    settings.windowsNames = survey.windowsNames;
    // The files being encoded are their rows' own, not clashes.
    std::unordered_set<std::string> writing;
    for (const int64_t id : run->Queue().EncodingRows()) {
        if (const AudioItem* row = fileList->FindRow(id, CurrentIndex()).first) {
            writing.insert(OutputKey(row->Output().outputPath.native()));
        }
    }
    fileList->UpdateOutputFiles(settings, [&](std::string_view path) {
        const std::string key = OutputKey(path);
        return !writing.contains(key) && survey.existing.contains(key);
    });
    for (const std::function<void()>& then : std::exchange(afterOutputCheck, {})) {
        then();
    }
}

VambleWindow::ClashDecision VambleWindow::AskAboutClashes() {
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
