// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include "bubblehelp/BubbleHelper.h"
#include "encoding/EncodeQueue.h"
#include "encoding/EncoderSettings.h"
#include "kit/Geometry.h"
#include "kit/MessageEvent.h"
#include "window/CdView.h"
#include "window/ListKeeper.h"
#include "window/OutputCheckView.h"
#include "window/RunView.h"

#include <QCoreApplication>
#include <QMainWindow>
#include <QString>
#include <array>
#include <functional>
#include <memory>
#include <vector>

class AudioItem;
class EncoderTab;
class FileListView;
class QAction;
class QComboBox;
class QLabel;
class QMenu;
class QMessageBox;
class QPushButton;
class RunStatusView;
class SettingsTab;
class SmallView;
class TagsTab;
class XqFilePanel;
struct WindowSetting;

// The application's only window: the menu bar, the three tabs of encoder settings, tag fields
// and naming settings, the file list, the encoding status area and the bottom row of buttons.
// It loads every setting into its controls in Inititialize and saves them when destroyed. It is
// the view of the encoding run, which its queue owns.
class VambleWindow : public QMainWindow, public kit::Handler {
    Q_DECLARE_TR_FUNCTIONS(VambleWindow)

public:
    explicit VambleWindow(const kit::Rect& frame);
    ~VambleWindow() override;

    // Loads the stored settings into the controls; called once before the window is shown.
    void Inititialize();
    // Brings back the rows kept in the file from the last time and keeps the list there from now
    // on; a kept list that cannot be taken is told in the status line.
    void KeepList(std::unique_ptr<KeptListFile> file);
    // Called as the window goes, once it has saved the settings and before it waits for the
    // files still being tagged: a later start may take over from then on.
    void SetSettingsSavedHandler(std::function<void()> handler) {
        settingsSaved = std::move(handler);
    }

    void MessageReceived(kit::Message* message) override;

    // The window's frame as the settings store keeps it: left, top, left + width, top + height.
    kit::Rect Frame() const;

    // The marked bit rate's label, or "128" when none is marked.
    void GetEncBits(std::string& bits) const;
    // The marked output format's label, or "stereo" when none is marked.
    std::string GetOutputFormat() const;

    // Appends the 111 genre names in menu order.
    static void FillGenrePopUp(QComboBox& menu);
    // Shows a row's tag values in the tag controls and marks its genre.
    void FillInMp3Tags(const char* artist, const char* album, const char* comment,
                       const char* songTitle, const char* year, int genre);

    FileListView* FileList() const { return fileList; }
    // The row the next Encode starts its search at.
    int32_t CurrentIndex() const { return run->Queue().CurrentIndex(); }
    void SetCurrentIndex(int32_t index) { run->Queue().SetCurrentIndex(index); }

    // Looks for audio CDs in the background; an item for every one found is then appended to the
    // "Get Files from CD:" pop-up, the mark staying as it was.
    void CheckForCDs();

    // Builds the encoder command for the row at `index` and where it writes into `command`,
    // making the output folders. Returns 0 when the command was built, -1 when it was not: the
    // command's status and detail then say why, and the run ends with the alert.
    int32_t CreateSwitches(EncoderCommand& command, int32_t index);
    // The encoder options as the controls hold them now, and whether the output folder takes only
    // Windows names as the last output check found.
    EncoderSettings CurrentEncoderSettings() const;

    // A row was encoded into `outputPath`: marks it done and updates "Files Remaining: "; the
    // run has its tags written. A row that is no longer in the list is not touched.
    void SetFileDone(const char* outputPath, int64_t id, bool isDone);
    // Stops encoding: every worker is stopped and waited for (at most about a second in all),
    // the next Encode starts again at the first row, Stop is disabled and Encode enabled.
    void StopThread();
    // Whether an encoding run goes on.
    bool IsEncoding() const { return run->Queue().Running(); }

    // Plans every row's output file and marks the clashes once the user has paused: changes of
    // "Save in:", "Output filename as:", the extension box, the tags and the rows call it.
    void ScheduleOutputCheck();
    // Plans every row's output file and marks the clashes, with the disk looked at off the GUI
    // thread; `then` runs once the newest check is shown.
    void CheckOutputs(std::function<void()> then = nullptr);
    using ClashDecision = OutputCheckView::ClashDecision;
    // When rows not done clash as the last output check found, asks the user once.
    ClashDecision AskAboutClashes();
    // The whole run's progress, title, launcher progress and closing notification.
    [[nodiscard]] RunMonitor& Monitor() const { return run->Monitor(); }
    // The audio CD flow: scans, reads, look-ups and the cache.
    [[nodiscard]] DiscFlow& Discs() const { return cds->Flow(); }

    // The main window's close path: stops encoding and agrees to close. During a run the user is
    // asked first, unless the window closes without asking.
    bool QuitRequested();
    // Closes the window as the end of the session or a termination signal does: without asking
    // about a run.
    void CloseWithoutAsking();
    // Hides the window, removes and deletes every row, and closes it.
    void Quit();

protected:
    bool event(QEvent* event) override;
    void closeEvent(QCloseEvent* event) override;

private:
    QWidget* BuildMenus();
    QWidget* BuildFileListArea();
    QWidget* BuildStatusArea();
    QWidget* BuildBottomRow();
    void ToggleColumn(int32_t index);
    // Copies the checked tag fields into the selected rows.
    void ApplyTags();
    // Shows the row's tag values in the tag controls.
    void ShowTagsOf(const AudioItem& row);
    // Shows the first selected row's tag values, after its tags changed; none selected, none.
    void ShowSelectedTags();
    // "Tags from File Names…": reads the selected rows' tags from their files' names and folders
    // by a pattern the user checks in a preview; the pattern is kept for the next time.
    void TagsFromFileNames();
    // Every setting the window keeps, in the order it loads them.
    std::vector<WindowSetting> Settings();
    // Removes and deletes the selected rows, then selects the row that took the place of the
    // topmost one removed.
    void RemoveItems();
    // Selects every row when the list has the focus, or all of "Save in:" when it has.
    void SelectAll();
    // Lets the user pick WAV files and adds them as if dropped on the list.
    void AddFilesFromDialog();

    // Starts encoding the next rows that are not done, from the current index on, until as
    // many are being encoded as "Files at once:" allows. Pressed with no run going, it first
    // asks about rows that would overwrite files and begins the run.
    void Encode();
    // Asks about clashes and begins a run of the rows not done; false when the user cancelled
    // or nothing is left to encode.
    bool BeginRun();
    // Shows the Encode and Stop buttons and the CD pop-up for a run or for no run.
    void ShowRunning(bool running);

    // Asks whether to stop encoding and quit; true when the user agrees.
    bool ConfirmStopAndQuit();

    // Gives the controls their help bubbles.
    void AttachTooltips();
    // Opens the output-folder chooser, or brings it back.
    void SelectDirectory();
    // A folder dropped on the window or chosen in the chooser becomes the output folder.
    void SetOutputDirectory(const kit::Message& refs);
    // Folders dropped on the window (outside the file list) or on "Save in:" reach the window
    // as B_SIMPLE_DATA messages.
    void AcceptFolderDrops();
    // The encoder options as the controls hold them, without asking the disk about the folder.
    EncoderSettings ControlSettings() const;

    kit::ProgressBar* progressBar = nullptr;
    BubbleHelper bubbleHelper{this};

    QMenu* fileMenu = nullptr;
    QMenu* editMenu = nullptr;
    QMenu* columnsMenu = nullptr;
    // "Track", "Filename", "Save As", "Path To File", "Output File", in this order.
    std::array<QAction*, 5> columnItems{};

    QPushButton* stopButton = nullptr;
    QPushButton* encodeButton = nullptr;
    // The three tabs and their controls.
    EncoderTab* encoder = nullptr;
    TagsTab* tags = nullptr;
    SettingsTab* options = nullptr;
    FileListView* fileList = nullptr;
    SmallView* countView = nullptr;
    QLabel* filesRemainingText = nullptr;
    kit::ElidedLabel* encodingFileText = nullptr;
    RunStatusView* runStatus = nullptr;
    QAction* nameTagsItem = nullptr;
    // The pattern "Tags from File Names…" offers.
    QString nameTagPattern;
    // The "Stop Encoding?" question while it is open; a run that ends by itself closes it.
    QMessageBox* stopQuestion = nullptr;
    bool runEndedWhileAsked = false;
    std::function<void()> settingsSaved;
    // Encode was pressed while the tags of files just added were being read: the run begins
    // once they are in.
    bool waitingForTags = false;
    // The output-folder chooser, made when first asked for.
    XqFilePanel* dirPanel = nullptr;

    int processorCount = 1;
    // The encoding run and its view; made once the controls it reads are.
    std::unique_ptr<RunView> run;
    // The folder "Add Files…" opened in last, for the next time in this session.
    QString lastAddFolder;
    // The audio CDs: the pop-up, reads, look-ups and the cache.
    std::unique_ptr<CdView> cds;
    // True while Encode, started by its command, may ask about clashes before a run begins: a
    // CD choice handled meanwhile must not start a read.
    bool startingRun = false;
    // Where the rows' output files go and which clash.
    std::unique_ptr<OutputCheckView> outputs;
    std::unique_ptr<ListKeeper> keeper; // none until KeepList
    // The window closes without asking about a run.
    bool closeWithoutAsking = false;
};
