// SPDX-License-Identifier: GPL-3.0-or-later
#include "window/VambleWindow.h"

#include "app/SettingsStore.h"
#include "app/VamblePrefs.h"
#include "filelist/FileListView.h"
#include "filelist/SmallView.h"
#include "kit/AppDefs.h"
#include "kit/ElidedLabel.h"
#include "window/EncoderTab.h"
#include "window/RunStatusView.h"
#include "window/SettingsTab.h"
#include "window/TagsTab.h"
#include "window/WindowLayout.h"
#include "window/WindowMessages.h"
#include "window/WindowSettings.h"

#include <QAction>
#include <QApplication>
#include <QCloseEvent>
#include <QFileDialog>
#include <QKeySequence>
#include <QMenuBar>
#include <QMessageBox>
#include <QPushButton>
#include <QShortcut>
#include <QTabWidget>
#include <QThread>
#include <QVBoxLayout>
#include <algorithm>
#include <cmath>

VambleWindow::VambleWindow(const kit::Rect& frame) {
    setWindowTitle(QStringLiteral("Vamble"));
    setGeometry(static_cast<int>(frame.left), static_cast<int>(frame.top),
                static_cast<int>(frame.Width()), static_cast<int>(frame.Height()));
    // The encoder may use every processor; the setting is kept in 8 bits, hence the cap.
    processorCount = std::clamp(QThread::idealThreadCount(), 1, 127);

    setMenuBar(static_cast<QMenuBar*>(BuildMenus()));

    // The window's content: a frame around the tabs, the file list and the status area, then
    // the bottom row.
    auto* inner = Tight(new QVBoxLayout);
    kit::AddWithHint(inner, kit::Space({-1, 10, 50000, 10, 1}), {-1, 10, 50000, 10, 1});

    auto* tabs = new QTabWidget;
    encoder = new EncoderTab(this, processorCount);
    tags = new TagsTab(this);
    options = new SettingsTab(processorCount);
    tabs->addTab(encoder, tr("GoGo Settings"));
    tabs->addTab(tags, tr("MP3 Tags"));
    tabs->addTab(options, tr("Settings"));
    tabs->setAccessibleName(tr("Options"));
    for (int tab = 0; tab < tabs->count(); ++tab) {
        tabs->widget(tab)->setAccessibleName(tabs->tabText(tab));
    }
    QWidget* tabFrame = kit::Border(0, 3, QString(), tabs);
    // The tab frame's hint names a maximum of 200 x 10000: narrower than its contents (whose own
    // minimum wins) and far taller than they need. The frame keeps the height its contents need
    // and the file list takes the height the window gains, so only the minimum is applied.
    kit::AddWithHint(inner, tabFrame, {150, 100, -1, -1, 0});
    tabFrame->setSizePolicy(QSizePolicy::Preferred, QSizePolicy::Fixed);

    kit::AddWithHint(inner, kit::Border(0, 10, QString(), BuildFileListArea()),
                     {-1, 120, 5000, 5000, 1});
    // The status area spans the window's width, as the list above it does.
    kit::AddWithHint(inner, BuildStatusArea(), {200, -1, -1, -1, 1});

    auto* content = new QWidget;
    auto* outer = new QVBoxLayout(content);
    outer->setContentsMargins(4, 4, 4, 4);
    outer->addWidget(kit::Border(1, 2, QString(), inner), 1);
    outer->addWidget(BuildBottomRow());
    setCentralWidget(content);

    progressBar->SetFraction(0.0f);

    // Ctrl+Tab and Ctrl+Shift+Tab switch the tabs wherever the focus is, not only inside them.
    const auto stepTabs = [tabs](int step) {
        tabs->setCurrentIndex((tabs->currentIndex() + step + tabs->count()) % tabs->count());
    };
    auto* nextTab = new QShortcut(QKeySequence(Qt::CTRL | Qt::Key_Tab), this);
    connect(nextTab, &QShortcut::activated, this, [stepTabs] { stepTabs(1); });
    // Shift+Tab arrives as Backtab, with or without Shift among the modifiers, or as Tab with
    // Shift, as the platform reports it; X11 offers Ctrl+Backtab and Ctrl+Shift+Tab at once,
    // which match this one shortcut twice and so arrive as an "ambiguous" activation.
    auto* previousTab = new QShortcut(this);
    previousTab->setKeys({QKeySequence(Qt::CTRL | Qt::SHIFT | Qt::Key_Backtab),
                          QKeySequence(Qt::CTRL | Qt::Key_Backtab),
                          QKeySequence(Qt::CTRL | Qt::SHIFT | Qt::Key_Tab)});
    connect(previousTab, &QShortcut::activated, this, [stepTabs] { stepTabs(-1); });
    connect(previousTab, &QShortcut::activatedAmbiguously, this, [stepTabs] { stepTabs(-1); });

    countView->Init();
    fileList->Initialize();
    for (size_t i = 0; i < columnItems.size(); ++i) {
        columnItems[i]->setChecked(fileList->ColumnShown(static_cast<signed char>(i)));
    }
    fileList->SetSelectionHandler([this](const AudioItem& row) { ShowTagsOf(row); });
    fileList->SetRowsAddedOrMovedHandler([this] {
        run->Queue().RowsChanged();
        // Rows added during a run join it: the count says so at once.
        if (IsEncoding()) {
            run->ShowFilesRemaining();
        }
    });
    run = std::make_unique<RunView>(RunView::WindowParts{
        this, fileList, encodingFileText, progressBar, filesRemainingText, runStatus, options,
        [this] { return CurrentEncoderSettings(); }, [this](bool running) { ShowRunning(running); },
        [this] { ScheduleOutputCheck(); },
        [this](const RunEnd& end) {
            // Finished, it leaves nothing to stop and the window closes as asked; failed, the
            // window stays for its alert.
            if (stopQuestion != nullptr && end.kind != RunEnd::Kind::Stopped) {
                runEndedWhileAsked = end.kind == RunEnd::Kind::Finished;
                stopQuestion->done(QDialog::Rejected);
            }
        }});
    outputs = std::make_unique<OutputCheckView>(
        fileList, [this] { return ControlSettings(); },
        [this] { return run->Queue().EncodingRows(); },
        std::initializer_list<const QLineEdit*>{encoder->saveInText->Edit(),
                                                options->outputNameText->Edit()},
        options->mp3ExtensionCheck);

    stopButton->setEnabled(false);
    AcceptFolderDrops();
}

VambleWindow::~VambleWindow() {
    if (keeper) {
        keeper->WriteNow();
    }
    prefs->SetRect("WindowRect", Frame());
    SaveSettings(*prefs, Settings());

    kit::PostMessage(QCoreApplication::instance(), kit::Message(kit::B_QUIT_REQUESTED));
    delete prefs;
    prefs = nullptr;
    if (settingsSaved) {
        settingsSaved();
    }
}

QWidget* VambleWindow::BuildMenus() {
    auto* bar = new QMenuBar;
    auto addItem = [this](QMenu* menu, const QString& label, uint32_t command,
                          const QKeySequence& shortcut, QObject* target) {
        QAction* item = menu->addAction(label);
        item->setShortcut(shortcut);
        connect(item, &QAction::triggered, this,
                [target, command] { kit::PostMessage(target, kit::Message(command)); });
        return item;
    };

    QObject* application = QCoreApplication::instance();
    fileMenu = bar->addMenu(tr("&File"));
    addItem(fileMenu, tr("About…"), kit::B_ABOUT_REQUESTED, {}, application);
    fileMenu->addSeparator();
    QAction* addFiles = fileMenu->addAction(tr("Add Files…"));
    addFiles->setShortcut(QKeySequence::Open);
    connect(addFiles, &QAction::triggered, this, [this] { AddFilesFromDialog(); });
    addItem(fileMenu, tr("Rescan for CDs"), MSG_RESCAN_CDS, QKeySequence(Qt::CTRL | Qt::Key_R),
            this);
    addItem(fileMenu, tr("Quit"), kit::B_QUIT_REQUESTED, QKeySequence(Qt::CTRL | Qt::Key_Q), this);

    editMenu = bar->addMenu(tr("&Edit"));
    addItem(editMenu, tr("Select All"), kit::B_SELECT_ALL, QKeySequence(Qt::CTRL | Qt::Key_A),
            this);
    // The menu shows the shortcut, which works wherever the focus is in the window.
    addItem(editMenu, tr("Remove"), MSG_REMOVE_ITEMS, QKeySequence(Qt::CTRL | Qt::Key_Delete),
            this);
    addItem(editMenu, tr("Look Up Again"), MSG_LOOK_UP_AGAIN, QKeySequence(Qt::CTRL | Qt::Key_L),
            this);
    editMenu->addSeparator();
    nameTagsItem = editMenu->addAction(tr("Tags from File Names…"));
    connect(nameTagsItem, &QAction::triggered, this, [this] { TagsFromFileNames(); });
    // It works on the selected rows.
    connect(editMenu, &QMenu::aboutToShow, this,
            [this] { nameTagsItem->setEnabled(fileList->CurrentSelection() >= 0); });
    editMenu->addSeparator();
    connect(editMenu->addAction(tr("Clear CD Cache…")), &QAction::triggered, this,
            [this] { cds->ClearCache(); });

    columnsMenu = bar->addMenu(tr("&Columns"));
    for (int32_t index = 0; index < static_cast<int32_t>(columnItems.size()); ++index) {
        QAction* item = columnsMenu->addAction(FileListView::ColumnTitle(index));
        item->setCheckable(true);
        // The mark changes only through the window's command; undo Qt's own toggle and send
        // the command with the item's position, as a menu item reports it.
        connect(item, &QAction::triggered, this, [this, item, index] {
            item->setChecked(!item->isChecked());
            kit::Message message(MSG_TOGGLE_COLUMN);
            message.Add<int32_t>("index", index);
            kit::PostMessage(this, message);
        });
        columnItems[static_cast<size_t>(index)] = item;
    }
    bar->setAccessibleName(tr("Menu bar"));
    for (QMenu* menu : {fileMenu, editMenu, columnsMenu}) {
        menu->setAccessibleName(menu->title().remove(QLatin1Char('&')));
    }
    return bar;
}

QWidget* VambleWindow::BuildFileListArea() {
    CLVContainerView* container = nullptr;
    fileList = new FileListView(kit::Rect(0, 0, 100, 100), "ListView", &container);
    container->SetLayoutPrefs({-1, 120, 5000, 5000, 1});
    // The first window shows a good part of a long list: its columns and kFirstRows rows,
    // where the screen has room.
    constexpr int kFirstRows = 15;
    const float rowHeight = kit::ListItem::LineHeight(fileList->GetFont()) + 1.0f;
    container->SetPreferredTargetSize(QSize(static_cast<int>(container->GetDataRect().Width()) + 1,
                                            static_cast<int>(std::ceil(kFirstRows * rowHeight))));
    // The file count takes the left end of the horizontal scroll bar's strip.
    constexpr int kCountWidth = 53;
    countView = new SmallView(kit::Rect(0, 0, kCountWidth - 1, 14), "FileCountView");
    container->PlaceBesideHorizontalBar(countView, kCountWidth);
    return container;
}

QWidget* VambleWindow::BuildStatusArea() {
    // A long status (a look-up's reasons, a German translation) never widens the window.
    encodingFileText = new kit::ElidedLabel(tr("Encoding File: "), 80);
    encodingFileText->setAlignment(Qt::AlignLeft | Qt::AlignVCenter);
    filesRemainingText = new QLabel(tr("Files Remaining: "));
    filesRemainingText->setAlignment(Qt::AlignRight | Qt::AlignVCenter);
    progressBar = new kit::ProgressBar;
    progressBar->setAccessibleName(tr("Encoding progress"));
    runStatus = new RunStatusView;

    auto* texts = Tight(new QHBoxLayout);
    kit::AddWithHint(texts, encodingFileText, {80, 10, 10000, 30, 2});
    kit::AddWithHint(texts, filesRemainingText, {10, 10, 65536, 65536, 1});
    // The whole run's bar and time left share the row of the file's bar while a run goes on.
    auto* bars = Tight(new QHBoxLayout);
    kit::AddWithHint(bars, progressBar, {-1, 20, 6000, 20, 1});
    bars->addWidget(runStatus, 1);
    auto* rows = Tight(new QVBoxLayout);
    rows->addLayout(texts);
    rows->addLayout(bars);
    QWidget* frame = kit::Border(3, 10, tr("Encoding Status"), rows);
    frame->setSizePolicy(QSizePolicy::Preferred, QSizePolicy::Fixed);
    return frame;
}

QWidget* VambleWindow::BuildBottomRow() {
    cds = std::make_unique<CdView>(
        CdView::WindowParts{this, fileList, encodingFileText, progressBar, options,
                            [this] { return IsEncoding() || startingRun; },
                            [this](bool running) { ShowRunning(running); },
                            [this] {
                                ShowSelectedTags();
                                ScheduleOutputCheck();
                            }});
    stopButton = CommandButton(tr("Stop"), MSG_STOP, this);
    encodeButton = CommandButton(tr("Encode"), MSG_ENCODE, this);

    auto* row = new QWidget;
    auto* layout = Tight(new QHBoxLayout(row));
    layout->addWidget(cds->PopUp());
    layout->addStretch(1);
    layout->addWidget(CommandButton(tr("Rescan for CDs"), MSG_RESCAN_CDS, this));
    layout->addWidget(stopButton);
    layout->addWidget(encodeButton);
    // The row keeps one height, at least 20 and as tall as its controls need.
    row->setMinimumHeight(20);
    row->setSizePolicy(QSizePolicy::Preferred, QSizePolicy::Fixed);
    return row;
}

std::vector<WindowSetting> VambleWindow::Settings() {
    return WindowSettingsTable({*encoder, *options, columnItems,
                                [this](int column, bool shown) {
                                    fileList->ShowColumn(static_cast<signed char>(column), shown);
                                },
                                nameTagPattern, processorCount});
}

void VambleWindow::Inititialize() {
    LoadSettings(*prefs, Settings());
    encoder->FollowVbr();
    options->FollowId3v2();
    if (options->tooltipsCheck->isChecked()) {
        AttachTooltips();
    }
}

void VambleWindow::KeepList(std::unique_ptr<KeptListFile> file) {
    keeper = std::make_unique<ListKeeper>(
        fileList, std::move(file), [this](const QString& why) { encodingFileText->setText(why); });
    keeper->Restore();
}

void VambleWindow::ShowTagsOf(const AudioItem& row) {
    const ID3_struct& tag = row.tag;
    FillInMp3Tags(tag.artist, tag.album, tag.comment, tag.title, tag.year, tag.genre);
    // A row nobody gave a genre shows none, not the "Blues" its genre byte 0 stands for.
    if (!row.GenreGiven()) {
        tags->genrePopUp->MarkItem(-1);
    }
}

void VambleWindow::ShowSelectedTags() {
    if (const auto* first =
            dynamic_cast<const AudioItem*>(fileList->ItemAt(fileList->CurrentSelection()))) {
        ShowTagsOf(*first);
    }
}

kit::Rect VambleWindow::Frame() const {
    const QRect area = geometry();
    return {static_cast<float>(area.left()), static_cast<float>(area.top()),
            static_cast<float>(area.left() + area.width()),
            static_cast<float>(area.top() + area.height())};
}

void VambleWindow::CheckForCDs() {
    cds->Scan();
}

void VambleWindow::GetEncBits(std::string& bits) const {
    bits = encoder->Bits();
}

std::string VambleWindow::GetOutputFormat() const {
    return encoder->OutputFormat();
}

void VambleWindow::FillGenrePopUp(QComboBox& menu) {
    TagsTab::FillGenres(menu);
}

void VambleWindow::FillInMp3Tags(const char* artist, const char* album, const char* comment,
                                 const char* songTitle, const char* year, int genre) {
    tags->Show(artist, album, comment, songTitle, year, genre);
}

void VambleWindow::MessageReceived(kit::Message* message) {
    switch (message->what) {
    case kit::B_QUIT_REQUESTED:
        close();
        break;
    case MSG_ENABLE_VBR:
        encoder->FollowVbr();
        break;
    case MSG_APPLY_TAGS:
        ApplyTags();
        break;
    case MSG_REMOVE_ITEMS:
        RemoveItems();
        break;
    case MSG_LOOK_UP_AGAIN:
        cds->LookUpAgain();
        break;
    case kit::B_SELECT_ALL:
        SelectAll();
        break;
    case MSG_ENCODE:
        // An Encode click queued while a disc's reading began is dropped: the two exclude each
        // other, and the button is disabled while the disc is read. So is one handled while an
        // earlier Encode still asks about clashes: one question, one answer.
        if (!cds->Reading() && !startingRun) {
            Encode();
        }
        break;
    case MSG_STOP:
        // Stop ends a disc's reading when one is read; encoding never runs at the same time.
        if (cds->Reading()) {
            cds->Flow().StopRead();
        } else {
            StopThread();
        }
        break;
    case MSG_SELECT_DIR:
        SelectDirectory();
        break;
    case kit::B_SIMPLE_DATA:
    case kit::B_REFS_RECEIVED:
        SetOutputDirectory(*message);
        break;
    case MSG_RESCAN_CDS:
        cds->Rescan();
        break;
    case MSG_CD_VOLUME:
        cds->Choose(*message);
        break;
    case MSG_TOGGLE_COLUMN: {
        int32_t index = -1;
        if (message->Find("index", &index) == kit::B_OK) {
            ToggleColumn(index);
        }
        break;
    }
    default:
        break;
    }
}

void VambleWindow::ToggleColumn(int32_t index) {
    if (index < 0 || static_cast<size_t>(index) >= columnItems.size()) {
        return;
    }
    QAction* item = columnItems[static_cast<size_t>(index)];
    const bool show = !item->isChecked();
    fileList->ShowColumn(static_cast<signed char>(index), show);
    item->setChecked(show);
}

void VambleWindow::AddFilesFromDialog() {
    QFileDialog dialog(this, tr("Add Files"), lastAddFolder);
    dialog.setFileMode(QFileDialog::ExistingFiles);
    dialog.setMimeTypeFilters(
        {QStringLiteral("audio/x-wav"), QStringLiteral("application/octet-stream")});
    if (dialog.exec() != QDialog::Accepted) {
        return;
    }
    lastAddFolder = dialog.directory().absolutePath();
    kit::Message refs(kit::B_REFS_RECEIVED);
    for (const QString& file : dialog.selectedFiles()) {
        refs.Add<kit::EntryRef>("refs", kit::EntryRef{QFile::encodeName(file).toStdString()});
    }
    fileList->MessageReceived(&refs);
}

bool VambleWindow::QuitRequested() {
    if (IsEncoding() && !closeWithoutAsking && !ConfirmStopAndQuit()) {
        return false;
    }
    StopThread();
    return true;
}

void VambleWindow::CloseWithoutAsking() {
    closeWithoutAsking = true;
    close();
}

bool VambleWindow::ConfirmStopAndQuit() {
    QMessageBox question(QMessageBox::Question, tr("Stop Encoding?"),
                         tr("Files are being encoded. Stop encoding and quit?"),
                         QMessageBox::NoButton, this);
    QPushButton* quit = question.addButton(tr("Stop and Quit"), QMessageBox::DestructiveRole);
    QPushButton* cancel = question.addButton(tr("Cancel"), QMessageBox::RejectRole);
    // Enter keeps the run going: nothing is lost by answering in haste.
    question.setDefaultButton(cancel);
    question.setEscapeButton(cancel);
    // A run that ends while the question is open answers it: nothing is left to stop.
    runEndedWhileAsked = false;
    stopQuestion = &question;
    question.exec();
    stopQuestion = nullptr;
    return question.clickedButton() == quit || runEndedWhileAsked;
}

void VambleWindow::Quit() {
    hide();
    fileList->EndEditing();
    if (keeper) {
        keeper->WriteNow();
    }
    for (int32_t i = fileList->CountItems() - 1; i >= 0; --i) {
        delete fileList->RemoveItem(i);
    }
}

bool VambleWindow::event(QEvent* event) {
    return kit::DeliverMessageEvent(event, this) || QMainWindow::event(event);
}

void VambleWindow::closeEvent(QCloseEvent* event) {
    if (!QuitRequested()) {
        event->ignore();
        return;
    }
    Quit();
    setAttribute(Qt::WA_DeleteOnClose);
    event->accept();
}
