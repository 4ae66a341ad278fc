// SPDX-License-Identifier: GPL-3.0-or-later
// Where each row's MP3 file goes and which rows would overwrite a file: planned on the window's
// thread once the user pauses changing what the names are made of, with the disk asked (the
// folder's file system, its listing) on a pool thread, and asked about before a run.
#pragma once

#include "encoding/EncoderSettings.h"

#include <QCoreApplication>
#include <QObject>
#include <QTimer>
#include <cstdint>
#include <functional>
#include <initializer_list>
#include <memory>
#include <string>
#include <unordered_set>
#include <utility>
#include <vector>

class FileListView;
class QCheckBox;
class QLineEdit;
struct OutputSurvey;
namespace kit {
class Messenger;
}

class OutputCheckView {
    // Its texts belong to the window's translation context, as the window's other texts do.
    Q_DECLARE_TR_FUNCTIONS(VambleWindow)

public:
    // `settings` gives the encoder options as the controls hold them; `encoding` the rows being
    // encoded, whose files are their own and not clashes. A check follows the user's pause in
    // changing the rows, the fields `watched` or the box `extension`.
    OutputCheckView(FileListView* list, std::function<EncoderSettings()> settings,
                    std::function<std::vector<int64_t>()> encoding,
                    std::initializer_list<const QLineEdit*> watched, const QCheckBox* extension);
    ~OutputCheckView();
    OutputCheckView(const OutputCheckView&) = delete;
    OutputCheckView& operator=(const OutputCheckView&) = delete;

    // Checks once the user has paused.
    void Schedule();
    // Checks now; `then` runs once the newest check is shown.
    void Check(std::function<void()> then = nullptr);
    // Drops what waits for a check.
    void ForgetWaiting();
    // Whether the settings' output folder takes only Windows names, as the last check found;
    // a folder typed since is asked here.
    [[nodiscard]] bool WindowsNames(const EncoderSettings& now) const;

    // What to do about the rows whose output files clash, asked before a run starts: when
    // `start` is false nothing is to start; the rows in `skipped` are left out of the run; the
    // files `agreed` may be replaced.
    struct ClashDecision {
        bool start = true;
        std::unordered_set<int64_t> skipped;
        std::vector<std::string> agreed;
    };
    // When rows not done clash as the last check found, asks the user once.
    ClashDecision AskAboutClashes(QWidget* window);

private:
    void Show(EncoderSettings checked, const OutputSurvey& survey);

    FileListView* list;
    std::function<EncoderSettings()> settings;
    std::function<std::vector<int64_t>()> encoding;
    QObject context; // the thread the checks report back to
    std::shared_ptr<kit::Messenger> messenger;
    // Fires once the user has paused changing what the output files are made of.
    QTimer timer;
    // The newest check, what waits for it, and the output folder it looked at with whether
    // that takes only Windows names.
    int newest = 0;
    std::vector<std::function<void()>> waiting;
    std::pair<std::string, bool> folderNames;
};
