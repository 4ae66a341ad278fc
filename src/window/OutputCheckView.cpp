// SPDX-License-Identifier: GPL-3.0-or-later
#include "window/OutputCheckView.h"

#include "encoding/EncoderCommand.h"
#include "encoding/OutputSurvey.h"
#include "filelist/FileListView.h"
#include "kit/Messenger.h"
#include "window/ClashDialog.h"

#include <QCheckBox>
#include <QFile>
#include <QLineEdit>
#include <QThreadPool>

namespace {

// Long enough to wait out a typist's pause between keys, short enough to feel immediate.
constexpr std::chrono::milliseconds kOutputCheckDelay{300};

} // namespace

OutputCheckView::OutputCheckView(FileListView* fileList,
                                 std::function<EncoderSettings()> controlSettings,
                                 std::function<std::vector<int64_t>()> encodingRows,
                                 std::initializer_list<const QLineEdit*> watched,
                                 const QCheckBox* extension)
    : list(fileList), settings(std::move(controlSettings)), encoding(std::move(encodingRows)),
      messenger(std::make_shared<kit::Messenger>(&context)) {
    timer.setSingleShot(true);
    timer.setInterval(kOutputCheckDelay);
    QObject::connect(&timer, &QTimer::timeout, &context, [this] { Check(); });
    for (const QLineEdit* field : watched) {
        QObject::connect(field, &QLineEdit::textChanged, &context, [this] { Schedule(); });
    }
    QObject::connect(extension, &QCheckBox::toggled, &context, [this] { Schedule(); });
    list->SetOutputsChangedHandler([this] { Schedule(); });
}

OutputCheckView::~OutputCheckView() {
    messenger->Clear();
}

void OutputCheckView::Schedule() {
    timer.start();
}

void OutputCheckView::Check(std::function<void()> then) {
    timer.stop();
    if (then) {
        waiting.push_back(std::move(then));
    }
    EncoderSettings now = settings();
    std::vector<std::string> names = list->OutputNames(now.namePattern);
    const int check = ++newest;
    QThreadPool::globalInstance()->start(
        [check, now, names = std::move(names), reply = messenger, this]() mutable {
            OutputSurvey survey = SurveyOutputs(now, names);
            reply->Invoke([check, now, survey = std::move(survey), this]() mutable {
                // A later check supersedes this one: it looks at what was changed since.
                if (check == newest) {
                    Show(now, survey);
                }
            });
        });
}

void OutputCheckView::ForgetWaiting() {
    waiting.clear();
}

bool OutputCheckView::WindowsNames(const EncoderSettings& now) const {
    const std::string folder = PlanOutputPath(now, {}).directory;
    return folder == folderNames.first ? folderNames.second
                                       : OutputFolderTakesOnlyWindowsNames(now);
}

void OutputCheckView::Show(EncoderSettings checked, const OutputSurvey& survey) {
    folderNames = {PlanOutputPath(checked, {}).directory, survey.windowsNames};
    checked.windowsNames = survey.windowsNames;
    // The files being encoded are their rows' own, not clashes.
    std::unordered_set<std::string> writing;
    for (const int64_t id : encoding()) {
        if (const AudioItem* row = list->FindRow(id).first) {
            writing.insert(OutputKey(row->Output().outputPath.native()));
        }
    }
    list->UpdateOutputFiles(checked, [&](std::string_view path) {
        const std::string key = OutputKey(path);
        return !writing.contains(key) && survey.existing.contains(key);
    });
    for (const std::function<void()>& then : std::exchange(waiting, {})) {
        then();
    }
}

OutputCheckView::ClashDecision OutputCheckView::AskAboutClashes(QWidget* window) {
    std::unordered_set<int64_t> clashing;
    std::vector<std::string> paths;
    QStringList firstFew;
    for (int32_t i = 0; i < list->CountItems(); ++i) {
        const auto* row = dynamic_cast<const AudioItem*>(list->ItemAt(i));
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
    ClashDialog dialog(static_cast<int>(clashing.size()), firstFew, window);
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
