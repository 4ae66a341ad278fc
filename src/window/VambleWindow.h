#pragma once

#include "app/DesktopNotifier.h"
#include "app/LauncherProgress.h"
#include "bubblehelp/BubbleHelper.h"
#include "encoding/EncodeWorker.h"
#include "encoding/EncoderSettings.h"
#include "encoding/OutputClashes.h"
#include "kit/Geometry.h"
#include "kit/Layout.h"
#include "kit/MessageEvent.h"
#include "kit/Messenger.h"
#include "window/RunMonitor.h"

#include <QMainWindow>
#include <QString>
#include <QThreadPool>
#include <QTimer>
#include <array>
#include <filesystem>
#include <memory>
#include <optional>
#include <string>
#include <unordered_set>

class AudioItem;
class DiscLookupService;
class DiscReadWorker;
struct DiscLookupAnswer;
struct DiscSource;
struct LookupSettings;
struct ReleaseNames;
enum class NameSource;
class FileListView;
class QAction;
class QMenu;
class SmallView;
class QPushButton;
class QVBoxLayout;
class RunStatusView;
class XqFilePanel;

// The application's only window: the menu bar, the three tabs of encoder settings, tag fields
// and naming settings, the file list, the encoding status area and the bottom row of buttons.
// It loads every setting into its controls in Inititialize and saves them when destroyed.
class VambleWindow : public QMainWindow, public kit::Handler {
public:
    explicit VambleWindow(const kit::Rect& frame);
    ~VambleWindow() override;

    // Loads the stored settings into the controls; called once before the window is shown.
    void Inititialize();

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
    int32_t CurrentIndex() const { return currentIndex; }
    void SetCurrentIndex(int32_t index) { currentIndex = index; }

    // Appends an item to the "Get Files from CD:" pop-up for every audio CD found; the mark
    // stays as it was.
    void CheckForCDs();

    // Builds the encoder command for the row at `index` into `command`, making the output
    // folders. Returns 0 when the command was built, -1 when it was not: the user has been told
    // why and encoding has stopped.
    int32_t CreateSwitches(std::string& command, int32_t index);
    // The command built for the row being encoded; empty when none.
    const std::string& GetSwitches() const { return switches; }
    // The encoder options as the controls hold them now.
    EncoderSettings CurrentEncoderSettings() const;

    // A row was encoded into `outputPath`: marks it done, writes its tags, goes on with the next
    // row and updates "Files Remaining: ". A row that is no longer in the list is not touched.
    void SetFileDone(const char* outputPath, int64_t row, bool isDone);
    // Stops encoding: every worker is stopped and waited for (at most about a second in all),
    // the next Encode starts again at the first row, Stop is disabled and Encode enabled.
    void StopThread();
    // Whether a row is being encoded.
    bool IsEncoding() const { return !encoding.empty(); }
    // How many rows may be encoded at the same time ("Files at once:").
    int FilesAtOnce() const;

    // Plans every row's output file and marks the clashes once the user has paused: changes of
    // "Save in:", "Output filename as:", the extension box, the tags and the rows call it.
    void ScheduleOutputCheck();
    // Plans every row's output file and marks the clashes now.
    void CheckOutputs();
    // What to do about the rows whose output files clash, asked before a run starts: when
    // `start` is false nothing is to start; the rows in `skipped` are left out of the run.
    struct ClashDecision {
        bool start = true;
        std::unordered_set<int64_t> skipped;
    };
    // Checks the outputs now and, when rows not done clash, asks the user once.
    ClashDecision AskAboutClashes();
    // The whole run's progress, title, launcher progress and closing notification.
    [[nodiscard]] RunMonitor& Monitor() const { return *runMonitor; }

    // The main window's close path: stops encoding and agrees to close.
    bool QuitRequested();
    // Hides the window, removes and deletes every row, and closes it.
    void Quit();

protected:
    bool event(QEvent* event) override;
    void closeEvent(QCloseEvent* event) override;

private:
    // A row being encoded and the worker encoding it.
    struct Encoding {
        int64_t row;
        std::unique_ptr<EncodeWorker> worker;
        // The progress the worker reported last and the window has not shown yet.
        std::optional<float> reported;
    };

    QWidget* BuildMenus();
    QWidget* BuildEncoderTab();
    QWidget* BuildTagsTab();
    QWidget* BuildSettingsTab();
    QWidget* BuildFileListArea();
    QWidget* BuildStatusArea();
    QWidget* BuildBottomRow();
    QPushButton* Button(const QString& label, uint32_t command);
    void ToggleColumn(int32_t index);
    // Copies the checked tag fields into the selected rows.
    void ApplyTags();
    // Removes and deletes the selected rows, then selects the row that took the place of the
    // topmost one removed.
    void RemoveItems();
    // Selects every row when the list has the focus, or all of "Save in:" when it has.
    void SelectAll();
    // Lets the user pick WAV files and adds them as if dropped on the list.
    void AddFilesFromDialog();
    // Audio CDs: an item chosen in the pop-up sends its message; the pop-up is rebuilt; a chosen
    // CD's tracks become rows, after reading the disc into a folder when it has none.
    void SendCDVolume(int index);
    void RescanCDs();
    void GetFilesFromCD(const kit::Message& volume);
    // `device` holds the disc (empty when not known); the rows are looked up once it is read.
    void AddCDTracks(const std::filesystem::path& folder, const std::string& name,
                     const std::string& device);
    void SetCDReading(bool reading);
    void ShowCDReadProgress(const kit::Message& progress);
    void FinishCDRead(const kit::Message& done);
    void StopCDRead();
    // Disc look-up: names for the rows of a disc (those with these identities) from the
    // services, CD-Text or gnudb, a choice among several releases, the front cover; "Look Up
    // Again" repeats it for the selected rows of discs, asking the services anew.
    LookupSettings CurrentLookupSettings() const;
    // Reads what the disc in `device` tells of itself, away from the window's thread, then gives
    // it to these rows (a disc's new rows) and looks them up.
    void NameDiscRows(const std::string& device, std::vector<int64_t> rows);
    void LookUpDisc(const std::shared_ptr<const DiscSource>& disc, std::vector<int64_t> rows,
                    bool refresh);
    void LookUpAgain();
    void DiscAnswered(const std::shared_ptr<const DiscSource>& disc,
                      const std::vector<int64_t>& rows, const DiscLookupAnswer& answer);
    void ApplyRelease(const DiscSource& disc, const std::vector<int64_t>& rows,
                      const ReleaseNames& release, NameSource source);
    // One line in the status area: where the names came from, or what went wrong.
    void ShowLookupStatus(const QString& text);
    // The look-up's settings with their keys and defaults, each written once; Inititialize
    // loads them, the destructor saves them.
    struct FlagSetting {
        const char* key;
        bool byDefault;
        QCheckBox* box;
    };
    [[nodiscard]] std::array<FlagSetting, 2> LookupFlags() const;
    static constexpr const char* kGnudbEmailKey = "GnudbEmail";

    // Starts encoding the next rows that are not done, from currentIndex on, until as many are
    // being encoded as "Files at once:" allows. Pressed with no run going, it first asks about
    // rows that would overwrite files and begins the run.
    void Encode();
    // Asks about clashes and begins a run of the rows not done; false when the user cancelled
    // or nothing is left to encode.
    bool BeginRun();
    // The run has ended as `kind` says: the window is idle again.
    void EndRun(RunMonitor::EndKind kind, const QString& detail = {});
    // A worker's report: progress, or the end of its row.
    void WorkerReported(const kit::Message& message);
    // Shows the progress the workers reported since it was last shown. Encoders report every
    // tenth of a percent; drawing each report would take processor time from the encoders, so
    // the window shows them a few times a second.
    void ShowProgress();
    // A row the user removes is never encoded further: when it is being encoded, its encoder
    // is stopped and the run goes on with the next row.
    void RowRemoved(const AudioItem* row);
    // Ends the workers of these rows (all of them by default): asks every one to stop, then
    // waits for them, at most about a second in all.
    void StopWorkers(std::vector<Encoding>& stopping);
    // The row with this identity, null when it is gone.
    AudioItem* FindRow(int64_t id) const;
    // Shows the Encode and Stop buttons and the CD pop-up for a run or for no run.
    void ShowRunning(bool running);
    // A modal alert titled "Alert" with one "OK" button; the window goes on while it is open.
    void ShowAlert(const QString& text);

    // Gives the controls their help bubbles.
    void AttachTooltips();
    // Opens the output-folder chooser, or brings it back.
    void SelectDirectory();
    // A folder dropped on the window or chosen in the chooser becomes the output folder.
    void SetOutputDirectory(const kit::Message& refs);
    // Folders dropped on the window (outside the file list) or on "Save in:" reach the window
    // as B_SIMPLE_DATA messages.
    void AcceptFolderDrops();
    // Recomputes the output files whenever what they are made of changes.
    void WatchOutputChanges();

    kit::ProgressBar* progressBar = nullptr;
    BubbleHelper bubbleHelper{this};

    QMenu* fileMenu = nullptr;
    QMenu* editMenu = nullptr;
    QMenu* columnsMenu = nullptr;
    // "Track", "Filename", "Save As", "Path To File", "Output File", in this order.
    std::array<QAction*, 5> columnItems{};

    QPushButton* stopButton = nullptr;
    QPushButton* encodeButton = nullptr;
    kit::SpinButton* cpuSpin = nullptr;
    kit::SpinButton* vbrSpin = nullptr;
    kit::SpinButton* prioritySpin = nullptr;
    kit::SpinButton* filesAtOnceSpin = nullptr;
    kit::PopUp* bitratePopUp = nullptr;
    kit::PopUp* outputFormatPopUp = nullptr;
    QCheckBox* deleteInputCheck = nullptr;
    QCheckBox* noPsyCheck = nullptr;
    QCheckBox* vbrCheck = nullptr;
    kit::TextControl* saveInText = nullptr;
    FileListView* fileList = nullptr;
    SmallView* countView = nullptr;
    QLabel* filesRemainingText = nullptr;
    QLabel* encodingFileText = nullptr;
    RunStatusView* runStatus = nullptr;
    QWidget* onlyApplyFrame = nullptr;
    kit::TextControl* artistText = nullptr;
    kit::TextControl* albumText = nullptr;
    kit::TextControl* commentText = nullptr;
    kit::TextControl* songTitleText = nullptr;
    kit::PopUp* genrePopUp = nullptr;
    kit::TextControl* yearText = nullptr;
    kit::TextControl* outputNameText = nullptr;
    kit::PopUp* cdPopUp = nullptr;
    QPushButton* rescanButton = nullptr;
    QCheckBox* applyAlbumCheck = nullptr;
    QCheckBox* applyArtistCheck = nullptr;
    QCheckBox* applySongTitleCheck = nullptr;
    QCheckBox* applyCommentCheck = nullptr;
    QCheckBox* applyYearCheck = nullptr;
    QCheckBox* applyGenreCheck = nullptr;
    QCheckBox* mp3ExtensionCheck = nullptr;
    QCheckBox* tooltipsCheck = nullptr;
    QCheckBox* id3v2Check = nullptr;
    QCheckBox* lookupOnlineCheck = nullptr;
    kit::TextControl* gnudbEmailText = nullptr;
    QCheckBox* embedCoverCheck = nullptr;
    // The output-folder chooser, made when first asked for.
    XqFilePanel* dirPanel = nullptr;

    int processorCount = 1;
    int32_t currentIndex = 0;
    // True while a stop is under way.
    bool stopRequested = false;
    std::string switches;
    // Where the workers' reports go; revoked before the window is destroyed.
    std::shared_ptr<kit::Messenger> messenger;
    // The rows the user chose to leave out of this run, and those held back because a row of
    // the run writes their file already.
    std::unordered_set<int64_t> leftOut;
    // The files this run has begun writing.
    ClaimedOutputs claimedOutputs;
    // The output path of the command built last.
    std::filesystem::path switchesOutput;
    // The rows being encoded, in the order they were started.
    std::vector<Encoding> encoding;
    QTimer progressTimer;
    // The run the workers' reports must belong to; each stop begins a new one.
    int64_t runId = 0;
    // The folder "Add Files…" opened in last, for the next time in this session.
    QString lastAddFolder;
    // Reads discs that no mount presents as a folder; created on first use.
    std::unique_ptr<DiscReadWorker> cdReader;
    // The run whose messages are awaited; -1 while no disc is being read.
    int32_t cdReadRun = -1;
    // Reads discs' tables of contents and CD-Text for the look-up; waits for them when destroyed.
    QThreadPool discSourceReads;
    // Looks discs up; created on first use.
    std::unique_ptr<DiscLookupService> discLookup;
    // Fires once the user has paused changing what the output files are made of.
    QTimer outputCheckTimer;
    DesktopNotifier notifier;
    LauncherProgress launcher;
    std::unique_ptr<RunMonitor> runMonitor;
};
