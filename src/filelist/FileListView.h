// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include "ColumnListView/ColumnListView.h"
#include "encoding/EncoderSettings.h"
#include "encoding/OutputClashes.h"
#include "filelist/AudioItem.h"
#include "filelist/RenameTextView.h"
#include "filelist/WavTagLoader.h"

#include <QCoreApplication>
#include <QPoint>
#include <QString>
#include <filesystem>
#include <functional>
#include <memory>

class SmallView;

// The list's invocation (a double click on a selected row, or Enter): edit the cell under the
// pointer.
inline constexpr uint32_t MSG_RENAME_START = kit::FourCC("ReFE");

// The list of files to encode: one AudioItem row per WAV file, in six columns (the mark,
// "Track", "Filename", "Save As", "Path To File" and, hidden at first, "Output File"). It takes
// WAV files dropped on it or sent to it as file references, lets the user edit the "Save As"
// and "Track" cells in place, keeps the file count beside its scroll bar up to date, shows the
// selected row's tags in the window, and shows where each row's MP3 file goes and which rows
// clash. The list owns its rows: the window removes and deletes them through it.
class FileListView : public ColumnListView {
    Q_DECLARE_TR_FUNCTIONS(FileListView)

public:
    // A multiple-selection list with both scroll bars and a fancy border; `containerView`
    // receives the scroll container the window places in its layout.
    FileListView(kit::Rect frame, const char* name, CLVContainerView** containerView);
    ~FileListView() override;
    FileListView(const FileListView&) = delete;
    FileListView& operator=(const FileListView&) = delete;

    // Finds the window's "FileCountView"; called once the window's layout is built.
    void Initialize();
    // Makes the list's invocation start an in-place edit.
    void AllAttached();

    // Adds the file as a row when its type is WAV and returns the row, or null when refused.
    // A track of 0 or more is shown in the "Track" column. The tags the WAV file carries of its
    // own are read off the GUI thread and given to the row when they are in, each only where the
    // row still has what it was added with; a file whose tag chunks are damaged gets a warning
    // and keeps the row as added.
    AudioItem* AddEntry(const std::filesystem::path& entry, long track);
    // The rows not yet encoded, in list order, as the kept list holds them; an open edit counts
    // with the text typed so far.
    [[nodiscard]] std::vector<KeptRow> RowsToKeep() const;
    // Adds the kept rows after the others, in their order (rows of one disc share it again; a CD
    // row whose track is no longer in the cache is left out), and looks at their files off the GUI
    // thread: a row whose file is gone or no longer WAV is marked with the reason.
    void RestoreRows(const std::vector<KeptRow>& rows);
    // Waits until the tags of every file added are read, and gives them to their rows.
    void FinishReadingTags();
    // Whether the tags of files added are still being read.
    [[nodiscard]] bool ReadingTags() { return wavTags.Busy(); }
    // Calls `then` on this thread once the tags of every file added so far are given to their
    // rows: at once when none are being read, else when the last is in. A later call replaces an
    // earlier one's `then`.
    void WhenTagsRead(std::function<void()> then);
    // The rows not yet encoded.
    int32_t GetNumItemsNotDone() const;
    // Shows or hides one of the five named columns: 0 "Track", 1 "Filename", 2 "Save As",
    // 3 "Path To File", 4 "Output File"; other values do nothing.
    void ShowColumn(signed char which, bool show);
    [[nodiscard]] bool ColumnShown(signed char which) const;

    // Plans every row's output file with these settings, as the encoder command would get it,
    // and marks the rows not done whose file clashes with an earlier row's or with what
    // `exists` finds. Only rows that changed are redrawn.
    void UpdateOutputFiles(const EncoderSettings& settings, const FileExists& exists);
    // The name pattern's expansion for each row not done, in list order.
    [[nodiscard]] std::vector<std::string> OutputNames(const std::string& pattern) const;
    // Called when something a row's output file depends on changed in the list: rows added or
    // removed, a "Save As" or "Track" cell edited.
    void SetOutputsChangedHandler(std::function<void()> handler) {
        outputsChanged = std::move(handler);
    }
    // Called with the row selected first whenever the selection changes, for the window to show
    // its tags.
    void SetSelectionHandler(std::function<void(const AudioItem&)> handler) {
        selected = std::move(handler);
    }
    // Called after dropped or sent files were added, or the rows were sorted: the next Encode
    // looks at every row again, in the order shown.
    void SetRowsAddedOrMovedHandler(std::function<void()> handler) {
        rowsAddedOrMoved = std::move(handler);
    }
    // The help for the point (in the list widget's coordinates): the output file over a "Save
    // As" or "Output File" cell, the failure or clash over a marked row's mark; empty elsewhere.
    QString HelpAt(QPoint where) const;
    // The first of the columns 0 to 3 whose cell of the row holds the point, -1 when none.
    int32_t WhichColumn(kit::Point where, const CLVListItem* item) const;
    // The row with this identity and its position; null and -1 when it is gone. The row at
    // `hint` is looked at first.
    std::pair<AudioItem*, int32_t> FindRow(int64_t id, int32_t hint = -1) const;
    // Ends an open in-place edit at once, storing its text.
    void EndEditing();
    RenameTextView* Editor() const { return renameView; }

    void MessageReceived(kit::Message* message) override;
    // The mark reads as "Done", or as its failure or clash.
    QString AccessibleCellText(int32_t row, int32_t column) const override;

    static constexpr int32_t kNamedColumns = 5;
    // The title of a named column as shown, in the user's language: 0 "Track", 1 "Filename",
    // 2 "Save As", 3 "Path To File", 4 "Output File". The Columns menu names them alike.
    static QString ColumnTitle(int32_t which);

    // How header clicks order the rows: "Track" by number with the empty Track of a dropped file
    // last, the texts in natural order (case aside, "2" before "10").
    static int32_t CompareRows(const CLVListItem* a, const CLVListItem* b, int32_t column);

protected:
    void SelectionChanged() override;
    void SortingChanged() override;
    void ItemsChanged() override;
    void MouseDown(const kit::MouseEvent& event) override;
    void keyPressEvent(QKeyEvent* e) override;

private:
    // Adds every file reference under "refs"; refused files are skipped. A JPEG or PNG picture
    // among them becomes the front cover of the rows it was dropped on: the selected rows when the
    // drop point is on one of them, else the row under it.
    void AddRefs(const kit::Message& message);
    void SetCoverOfDropTarget(const std::filesystem::path& picture, const kit::Message& drop);
    // Gives rows the tags read from their WAV files.
    void TakeWavTags(std::vector<WavTagLoader::Result> results);
    void StartRename();
    void EndRename(const kit::Message& message);
    void UpdateCount();
    // After a change to the column's cells, puts the rows back in order when they are sorted by
    // it.
    void KeepSortedBy(int32_t column);
    // The rows moved: the next row to encode is looked for from the top again.
    void RowsMoved() const;
    void OutputsChanged() const;
    // The failure and clash of a row not done, or the warning of a done row, as help text; empty
    // when it has none.
    QString MarkHelp(const AudioItem& row) const;
    // The row's output file, or why it has none.
    static QString OutputHelp(const AudioItem& row);

    CLVColumn* checkColumn = nullptr;
    CLVColumn* fileNameColumn = nullptr;
    CLVColumn* saveAsColumn = nullptr;
    CLVColumn* pathColumn = nullptr;
    CLVColumn* trackColumn = nullptr;
    CLVColumn* outputColumn = nullptr;
    std::unique_ptr<MDownFilter> mouseDownFilter;
    RenameTextView* renameView = nullptr;
    SmallView* countView = nullptr;
    // Where the last press was, for finding the cell an invocation edits; none after a key.
    std::optional<kit::Point> lastPress;
    std::function<void()> outputsChanged;
    std::function<void(const AudioItem&)> selected;
    std::function<void()> rowsAddedOrMoved;
    std::function<void()> tagsRead;
    WavTagLoader wavTags;
};
