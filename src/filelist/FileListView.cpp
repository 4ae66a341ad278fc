// SPDX-License-Identifier: GPL-3.0-or-later
#include "filelist/FileListView.h"

#include "filelist/FileType.h"
#include "filelist/SmallView.h"
#include "kit/AppDefs.h"
#include "kit/FileDrop.h"

#include <QApplication>
#include <QCollator>
#include <QFile>
#include <QKeyEvent>
#include <QLocale>
#include <algorithm>
#include <limits>

namespace {

// The number a Track text starts with; no digits give 0, and a number too large for a track
// gives the largest one.
int32_t LeadingNumber(const std::string& text) {
    int64_t value = 0;
    for (const char c : text) {
        if (c < '0' || c > '9') {
            break;
        }
        value = std::min<int64_t>(value * 10 + (c - '0'), std::numeric_limits<int32_t>::max());
    }
    return static_cast<int32_t>(value);
}

// The file a reference names, symbolic links followed; nothing when it cannot be resolved.
std::optional<std::filesystem::path> Resolve(const std::filesystem::path& path) {
    std::error_code error;
    std::filesystem::path resolved = std::filesystem::canonical(path, error);
    if (error) {
        return std::nullopt;
    }
    return resolved;
}

} // namespace

FileListView::FileListView(kit::Rect frame, const char* name, CLVContainerView** containerView)
    : ColumnListView(frame, containerView, name, kit::B_MULTIPLE_SELECTION_LIST, false, true, true,
                     true, kit::B_FANCY_BORDER),
      wavTags([this] {
          // Qt owns the call from here on and deletes it once it has run, or with the list.
          // NOLINTBEGIN(clang-analyzer-cplusplus.NewDeleteLeaks)
          QMetaObject::invokeMethod(
              this, [this] { TakeWavTags(wavTags.TakeResults()); }, Qt::QueuedConnection);
          // NOLINTEND(clang-analyzer-cplusplus.NewDeleteLeaks)
      }) {
    checkColumn = new CLVColumn(
        nullptr, 16.0f, CLV_COL_FIXED_POSITION | CLV_COL_FIXED_WIDTH | CLV_COL_JOIN_HEADER, 16.0f);
    trackColumn = new CLVColumn(ColumnTitle(0).toStdString().c_str(), 50.0f,
                                CLV_COL_SORTABLE | CLV_COL_ALIGN_RIGHT, 50.0f);
    fileNameColumn = new CLVColumn(ColumnTitle(1).toStdString().c_str(), 150.0f,
                                   CLV_COL_SORTABLE | CLV_COL_NOTIFY_ITEMS, 70.0f);
    saveAsColumn = new CLVColumn(ColumnTitle(2).toStdString().c_str(), 150.0f,
                                 CLV_COL_SORTABLE | CLV_COL_NOTIFY_ITEMS, 70.0f);
    pathColumn = new CLVColumn(ColumnTitle(3).toStdString().c_str(), 150.0f,
                               CLV_COL_SORTABLE | CLV_COL_NOTIFY_ITEMS, 70.0f);
    outputColumn = new CLVColumn(ColumnTitle(4).toStdString().c_str(), 250.0f,
                                 CLV_COL_SORTABLE | CLV_COL_NOTIFY_ITEMS, 70.0f);
    outputColumn->SetShown(false);
    AddColumnList(
        {checkColumn, trackColumn, fileNameColumn, saveAsColumn, pathColumn, outputColumn});
    SetSortFunction(&FileListView::CompareRows);

    QFont listFont = font();
    listFont.setPixelSize(12);
    setFont(listFont);

    // Files dropped anywhere on the list's container (its header, its scroll bars) count as
    // dropped on the list.
    auto* drops = new kit::FileDropFilter(this, this);
    drops->Watch(this);
    drops->Watch(Container());
    AllAttached();
}

FileListView::~FileListView() {
    // Whoever listened may be gone already; the rows going with the list change nothing.
    outputsChanged = nullptr;
    selected = nullptr;
    delete renameView;
    // Rows the window did not remove go with the list.
    std::vector<kit::ListItem*> rows;
    rows.reserve(static_cast<size_t>(CountItems()));
    for (int32_t i = 0; i < CountItems(); ++i) {
        rows.push_back(ItemAt(i));
    }
    MakeEmpty();
    for (kit::ListItem* row : rows) {
        delete row;
    }
}

void FileListView::Initialize() {
    QWidget* top = QWidget::window();
    countView = top ? top->findChild<SmallView*>(QStringLiteral("FileCountView")) : nullptr;
    UpdateCount();
}

void FileListView::AllAttached() {
    SetInvocationMessage(new kit::Message(MSG_RENAME_START));
    SetTarget(this);
}

AudioItem* FileListView::AddEntry(const std::filesystem::path& entry, long track) {
    if (!IsWavMimeType(MimeTypeOf(entry))) {
        return nullptr;
    }
    const std::string leaf = entry.filename().string();
    auto* item = new AudioItem(kit::EntryRef{entry});
    if (track >= 0) {
        item->track =
            static_cast<int32_t>(std::min<long>(track, std::numeric_limits<int32_t>::max()));
        item->SetColumnContent(AudioItem::kTrackColumn, std::to_string(item->track).c_str(), false,
                               true);
    }
    item->SetColumnContent(AudioItem::kFilenameColumn, leaf.c_str());
    item->SetColumnContent(AudioItem::kSaveAsColumn, leaf.c_str());
    item->SetColumnContent(AudioItem::kPathColumn, entry.c_str());
    item->SetSongTitle(leaf.c_str());
    // A sorted list stays sorted. An open edit ends before rows move: the editor knows its row by
    // its place.
    const int32_t index = SortedIndex(item);
    if (index < CountItems()) {
        EndEditing();
    }
    AddItem(item, index);
    UpdateCount();
    wavTags.Read(item->Id(), entry);
    return item;
}

std::vector<KeptRow> FileListView::RowsToKeep() const {
    std::vector<KeptRow> rows;
    for (int32_t i = 0; i < CountItems(); ++i) {
        const auto* row = static_cast<const AudioItem*>(ItemAt(i));
        if (row->done) {
            continue;
        }
        const char* saveAs = row->GetColumnContentText(AudioItem::kSaveAsColumn);
        KeptRow kept = row->ToKeptRow(saveAs != nullptr ? saveAs : "");
        if (renameView != nullptr && renameView->Index() == i) {
            const std::string typed = renameView->text().toStdString();
            if (renameView->Column() == AudioItem::kSaveAsColumn) {
                kept.saveAs = typed;
            } else if (renameView->Column() == AudioItem::kTrackColumn) {
                kept.track = LeadingNumber(typed);
            }
        }
        rows.push_back(std::move(kept));
    }
    return rows;
}

void FileListView::RestoreRows(const std::vector<KeptRow>& rows) {
    std::vector<kit::ListItem*> restored;
    restored.reserve(rows.size());
    std::vector<std::shared_ptr<const DiscSource>> discs;
    for (const KeptRow& kept : rows) {
        // A CD's rows come back while the disc's tracks are still in the program's cache; a
        // cleared cache takes them along.
        std::error_code error;
        if (kept.disc && !std::filesystem::is_regular_file(kept.file, error)) {
            continue;
        }
        std::shared_ptr<const DiscSource> source;
        if (kept.disc) {
            const auto same = std::find_if(discs.begin(), discs.end(), [&](const auto& disc) {
                return disc->toc == *kept.disc;
            });
            source =
                same != discs.end()
                    ? *same
                    : discs.emplace_back(std::make_shared<DiscSource>(DiscSource{*kept.disc, {}}));
        }
        AudioItem* row = AudioItem::FromKeptRow(kept, std::move(source)).release();
        restored.push_back(row);
        wavTags.Check(row->Id(), kept.file);
    }
    EndEditing();
    AddList(restored, CountItems());
    UpdateCount();
}

void FileListView::FinishReadingTags() {
    TakeWavTags(wavTags.FinishAndTakeResults());
}

void FileListView::WhenTagsRead(std::function<void()> then) {
    if (wavTags.Busy()) {
        tagsRead = std::move(then);
    } else {
        then();
    }
}

void FileListView::TakeWavTags(std::vector<WavTagLoader::Result> results) {
    bool changed = false;
    int32_t hint = 0;
    for (WavTagLoader::Result& result : results) {
        const auto [row, index] = FindRow(result.row, hint);
        if (!row) {
            continue;
        }
        hint = index + 1; // files added together are usually rows one after another
        if (result.checked) {
            if (!result.unusable.empty()) {
                row->SetSourceDamage(std::move(result.unusable));
                InvalidateItem(index);
            }
            continue;
        }
        if (!result.read.damage.empty()) {
            row->SetWarning(tr("Its tags could not be read (%1); it was added without them.")
                                .arg(QString::fromStdString(result.read.damage))
                                .toStdString());
        }
        FoundTags& found = result.read.tags;
        const auto keepRows = [](std::string& value, std::string_view rowValue) {
            if (!rowValue.empty()) {
                value.clear();
            }
        };
        if (!FieldHolds(row->tag.title, row->ref.path.filename().string())) {
            found.title.clear();
        }
        keepRows(found.artist, TagText(row->tag.artist));
        keepRows(found.album, TagText(row->tag.album));
        keepRows(found.year, TagText(row->tag.year));
        keepRows(found.comment, TagText(row->tag.comment));
        if (row->GenreGiven()) {
            found.genre.clear();
        }
        if (row->track >= 0) {
            found.track = -1;
        }
        if (!found.Empty() || !result.read.damage.empty()) {
            row->TakeFoundTags(found);
            InvalidateItem(index);
            changed = true;
            if (selected && CurrentSelection() == index) {
                selected(*row);
            }
        }
    }
    if (changed) {
        OutputsChanged();
    }
    if (tagsRead && !wavTags.Busy()) {
        std::exchange(tagsRead, {})();
    }
}

int32_t FileListView::GetNumItemsNotDone() const {
    int32_t count = 0;
    for (int32_t i = 0; i < CountItems(); ++i) {
        const auto* item = dynamic_cast<const AudioItem*>(ItemAt(i));
        count += item && !item->done ? 1 : 0;
    }
    return count;
}

void FileListView::ShowColumn(signed char which, bool show) {
    CLVColumn* const named[kNamedColumns] = {trackColumn, fileNameColumn, saveAsColumn, pathColumn,
                                             outputColumn};
    if (which >= 0 && which < kNamedColumns) {
        named[static_cast<unsigned char>(which)]->SetShown(show);
    }
}

bool FileListView::ColumnShown(signed char which) const {
    const CLVColumn* const named[kNamedColumns] = {trackColumn, fileNameColumn, saveAsColumn,
                                                   pathColumn, outputColumn};
    return which >= 0 && which < kNamedColumns &&
           named[static_cast<unsigned char>(which)]->IsShown();
}

int32_t FileListView::WhichColumn(kit::Point where, const CLVListItem* item) const {
    for (int32_t column = AudioItem::kDoneColumn; column < AudioItem::kPathColumn; ++column) {
        const kit::Rect frame = item->ItemColumnFrame(column, this);
        if (IsSet(frame) && frame.Contains(where)) {
            return column;
        }
    }
    return -1;
}

int32_t FileListView::CompareRows(const CLVListItem* a, const CLVListItem* b, int32_t column) {
    const auto* x = static_cast<const AudioItem*>(a);
    const auto* y = static_cast<const AudioItem*>(b);
    if (column == AudioItem::kTrackColumn) {
        // Unsigned, -1 (no track) comes after every number.
        const auto first = static_cast<uint32_t>(x->track);
        const auto second = static_cast<uint32_t>(y->track);
        return first < second ? -1 : first > second ? 1 : 0;
    }
    static const QCollator natural = [] {
        // The C locale only compares code points; there English rules order the names.
        const QLocale system;
        QCollator collator(system.language() == QLocale::C ? QLocale(QLocale::English) : system);
        collator.setNumericMode(true);
        collator.setCaseSensitivity(Qt::CaseInsensitive);
        return collator;
    }();
    const auto text = [column](const AudioItem* row) {
        const char* cell = row->GetColumnContentText(column);
        return QString::fromUtf8(cell ? cell : "");
    };
    return natural.compare(text(x), text(y));
}

QString FileListView::ColumnTitle(int32_t which) {
    switch (which) {
    case 0:
        return tr("Track");
    case 1:
        return tr("Filename");
    case 2:
        return tr("Save As");
    case 3:
        return tr("Path To File");
    case 4:
        return tr("Output File");
    default:
        return {};
    }
}

void FileListView::SortingChanged() {
    ColumnListView::SortingChanged();
    RowsMoved();
}

void FileListView::KeepSortedBy(int32_t column) {
    const std::vector<CLVColumn*>& keys = SortKeys();
    if (std::find(keys.begin(), keys.end(), ColumnAt(column)) != keys.end()) {
        EndEditing(); // the editor knows its row by its place
        SortItems();
        RowsMoved();
    }
}

void FileListView::RowsMoved() const {
    if (rowsAddedOrMoved) {
        rowsAddedOrMoved();
    }
}

void FileListView::SelectionChanged() {
    ColumnListView::SelectionChanged();
    const auto* item = dynamic_cast<const AudioItem*>(ItemAt(CurrentSelection()));
    if (selected && item) {
        selected(*item);
    }
}

QString FileListView::AccessibleCellText(int32_t row, int32_t column) const {
    const auto* item = dynamic_cast<const AudioItem*>(ItemAt(row));
    if (column == AudioItem::kDoneColumn) {
        if (!item) {
            return {};
        }
        const QString help = MarkHelp(*item).replace(QLatin1Char('\n'), QLatin1Char(' '));
        return item->done ? (help.isEmpty() ? tr("Done") : help) : help;
    }
    return ColumnListView::AccessibleCellText(row, column);
}

void FileListView::ItemsChanged() {
    ColumnListView::ItemsChanged();
    OutputsChanged();
}

void FileListView::OutputsChanged() const {
    if (outputsChanged) {
        outputsChanged();
    }
}

void FileListView::UpdateOutputFiles(const EncoderSettings& settings, const FileExists& exists) {
    const auto count = static_cast<size_t>(CountItems());
    std::vector<AudioItem*> rows(count);
    // Views of the paths the rows keep.
    std::vector<std::string_view> paths(count);
    bool changed = false;
    for (size_t i = 0; i < count; ++i) {
        auto* row = dynamic_cast<AudioItem*>(ItemAt(static_cast<int32_t>(i)));
        if (!row) {
            continue;
        }
        rows[i] = row;
        const std::unique_ptr<char[]> name(row->CreateString(settings.namePattern.c_str()));
        changed = row->SetOutputPlan(PlanOutputPath(settings, name.get())) || changed;
        // Rows already done write nothing more; rows without a command write nothing at all.
        if (!row->done && row->Output().status == CommandStatus::Ready) {
            paths[i] = row->Output().outputPath.native();
        }
    }
    const std::vector<OutputClash> clashes = FindOutputClashes(paths, exists);
    for (size_t i = 0; i < count; ++i) {
        AudioItem* row = rows[i];
        if (!row) {
            continue;
        }
        const OutputClash& clash = clashes[i];
        const int64_t with = clash.kind == ClashKind::SameAsRow ? rows[clash.otherRow]->Id() : 0;
        if (row->Clash() != clash.kind || row->ClashesWith() != with) {
            row->SetClash(clash.kind, with);
            changed = true;
        }
    }
    // Only the rows on screen are drawn, so one update of the whole list costs no more.
    if (changed) {
        KeepSortedBy(AudioItem::kOutputColumn);
        Invalidate();
    }
}

std::vector<std::string> FileListView::OutputNames(const std::string& pattern) const {
    std::vector<std::string> names;
    for (int32_t i = 0; i < CountItems(); ++i) {
        const auto* row = dynamic_cast<const AudioItem*>(ItemAt(i));
        if (row && !row->done) {
            const std::unique_ptr<char[]> name(row->CreateString(pattern.c_str()));
            names.emplace_back(name.get());
        }
    }
    return names;
}

QString FileListView::HelpAt(QPoint where) const {
    const kit::Point point = ConvertFromWidget(where);
    const auto* row = dynamic_cast<const AudioItem*>(ItemAt(IndexOf(point)));
    if (!row) {
        return {};
    }
    for (const int32_t column :
         {AudioItem::kDoneColumn, AudioItem::kSaveAsColumn, AudioItem::kOutputColumn}) {
        const kit::Rect frame = row->ItemColumnFrame(column, this);
        if (IsSet(frame) && frame.Contains(point)) {
            return column == AudioItem::kDoneColumn ? MarkHelp(*row) : OutputHelp(*row);
        }
    }
    return {};
}

QString FileListView::OutputHelp(const AudioItem& row) {
    const OutputPlan& plan = row.Output();
    if (plan.status == CommandStatus::Ready) {
        return plan.outputPath.empty()
                   ? QString()
                   : tr("Output file:\n%1").arg(QFile::decodeName(plan.outputPath.c_str()));
    }
    if (!plan.detail.empty()) {
        return QString::fromStdString(plan.detail);
    }
    const char* alert = AlertMessage(plan.status);
    return alert ? QCoreApplication::translate("EncoderCommand", alert) : QString();
}

QString FileListView::MarkHelp(const AudioItem& row) const {
    if (row.done) {
        return row.Warning().empty() ? QString()
                                     : tr("Done. %1").arg(QString::fromStdString(row.Warning()));
    }
    QStringList parts;
    if (!row.Failure().empty()) {
        parts << tr("Not encoded: %1").arg(QString::fromStdString(row.Failure()));
    }
    if (!row.SourceDamage().empty()) {
        parts << QString::fromStdString(row.SourceDamage());
    }
    const QString path = QFile::decodeName(row.Output().outputPath.c_str());
    switch (row.Clash()) {
    case ClashKind::SameAsRow: {
        const auto [other, index] = FindRow(row.ClashesWith());
        const char* name =
            other ? other->GetColumnContentText(AudioItem::kFilenameColumn) : nullptr;
        parts << (other ? tr("Row %1 (%2) has the same output file:\n%3")
                              .arg(index + 1)
                              .arg(QString::fromUtf8(name ? name : ""), path)
                        : tr("Another row has the same output file:\n%1").arg(path));
        break;
    }
    case ClashKind::ExistingFile:
        parts << tr("A file already exists at\n%1").arg(path);
        break;
    case ClashKind::None:
        break;
    }
    if (!row.Warning().empty()) {
        parts << QString::fromStdString(row.Warning());
    }
    return parts.join(QLatin1Char('\n'));
}

std::pair<AudioItem*, int32_t> FileListView::FindRow(int64_t id, int32_t hint) const {
    auto* guess = dynamic_cast<AudioItem*>(ItemAt(hint));
    if (guess && guess->Id() == id) {
        return {guess, hint};
    }
    for (int32_t i = 0; i < CountItems(); ++i) {
        auto* row = dynamic_cast<AudioItem*>(ItemAt(i));
        if (row && row->Id() == id) {
            return {row, i};
        }
    }
    return {nullptr, -1};
}

void FileListView::MessageReceived(kit::Message* message) {
    switch (message->what) {
    case kit::B_SIMPLE_DATA:
    case kit::B_REFS_RECEIVED:
        AddRefs(*message);
        break;
    case MSG_RENAME_START:
        StartRename();
        break;
    case MSG_RENAME_DONE:
        EndRename(*message);
        break;
    default:
        ColumnListView::MessageReceived(message);
        break;
    }
}

void FileListView::AddRefs(const kit::Message& message) {
    kit::EntryRef ref;
    int32_t index = 0;
    for (; message.Find("refs", index, &ref) == kit::B_OK; ++index) {
        const std::optional<std::filesystem::path> file = Resolve(ref.path);
        if (file && !AddEntry(*file, -1) && IsCoverPictureType(MimeTypeOf(*file))) {
            SetCoverOfDropTarget(*file, message);
        }
    }
    if (index > 0 && rowsAddedOrMoved) {
        rowsAddedOrMoved();
    }
}

void FileListView::SetCoverOfDropTarget(const std::filesystem::path& picture,
                                        const kit::Message& drop) {
    kit::Point screen;
    if (drop.Find("_drop_point_", &screen) != kit::B_OK) {
        return;
    }
    const QPoint local =
        mapFromGlobal(QPoint(static_cast<int>(screen.x), static_cast<int>(screen.y)));
    const int32_t under = IndexOf(ConvertFromWidget(local));
    if (under < 0) {
        return;
    }
    const bool toSelection = IsItemSelected(under);
    for (int32_t i = 0; i < CountItems(); ++i) {
        auto* row = dynamic_cast<AudioItem*>(ItemAt(i));
        if (row && (toSelection ? IsItemSelected(i) : i == under)) {
            row->SetCover(picture);
            InvalidateItem(i);
        }
    }
}

void FileListView::UpdateCount() {
    if (countView) {
        countView->SetText(CountItems());
    }
}

void FileListView::MouseDown(const kit::MouseEvent& event) {
    lastPress = event.where;
    ColumnListView::MouseDown(event);
}

void FileListView::keyPressEvent(QKeyEvent* e) {
    // An invocation from the keyboard edits the "Save As" cell.
    lastPress.reset();
    ColumnListView::keyPressEvent(e);
}

void FileListView::StartRename() {
    const int32_t index = CurrentSelection();
    auto* item = dynamic_cast<AudioItem*>(ItemAt(index));
    if (!item) {
        return;
    }
    const int32_t column =
        lastPress ? WhichColumn(*lastPress, item) : int32_t{AudioItem::kSaveAsColumn};
    if (column != AudioItem::kTrackColumn && column != AudioItem::kSaveAsColumn) {
        return;
    }
    // At most one editor: an open one is ended, keeping its text, before the next opens.
    EndEditing();
    const kit::Rect cell = item->ItemColumnFrame(column, this);
    if (!IsSet(cell)) {
        return;
    }
    renameView = new RenameTextView(ConvertToWidget(cell), "RenameView", index, column, this, this);
    mouseDownFilter = std::make_unique<MDownFilter>(renameView);
    qApp->installEventFilter(mouseDownFilter.get());

    const char* text = item->GetColumnContentText(column);
    renameView->setText(QString::fromUtf8(text ? text : ""));
    renameView->selectAll();
    renameView->AcceptOnlyNum(column == AudioItem::kTrackColumn);
    renameView->show();
    renameView->MakeFocus(true);
}

void FileListView::EndEditing() {
    if (!renameView) {
        return;
    }
    kit::Message done(MSG_RENAME_DONE);
    done.Add<int32_t>("index", renameView->Index());
    done.Add<int32_t>("column", renameView->Column());
    done.Add<int64_t>("editor", renameView->Serial());
    EndRename(done);
}

void FileListView::EndRename(const kit::Message& message) {
    int64_t serial = 0;
    if (!renameView ||
        (message.Find("editor", &serial) == kit::B_OK && serial != renameView->Serial())) {
        return;
    }
    mouseDownFilter.reset();

    int32_t index = -1;
    int32_t column = -1;
    auto* item = dynamic_cast<AudioItem*>(ItemAt(
        message.Find("index", &index) == kit::B_OK && message.Find("column", &column) == kit::B_OK
            ? index
            : -1));
    bool changed = false;
    if (item) {
        const std::string edited = renameView->text().toStdString();
        const char* cell = item->GetColumnContentText(column);
        changed = !cell || edited != cell;
        if (changed) {
            if (column == AudioItem::kSaveAsColumn) {
                item->SetColumnContent(column, edited.c_str());
            } else if (column == AudioItem::kTrackColumn) {
                item->SetColumnContent(column, edited.c_str(), false, true);
                item->track = LeadingNumber(edited);
            }
            InvalidateItem(index);
            OutputsChanged();
        }
    }
    // The editor may be the one reporting; it goes once the report is handled.
    RenameTextView* editor = renameView;
    renameView = nullptr;
    editor->Finish();
    editor->hide();
    editor->deleteLater();
    MakeFocus(true);
    if (changed) {
        KeepSortedBy(column);
    }
}
