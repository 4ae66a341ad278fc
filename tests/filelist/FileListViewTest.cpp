// SPDX-License-Identifier: GPL-3.0-or-later
#include "filelist/FileListView.h"

#include "filelist/SmallView.h"
#include "kit/AppDefs.h"
#include "support/WidgetTestSetup.h"
#include "support/WindowFixture.h"
#include "window/VambleWindow.h"

#include <QAccessible>
#include <QAccessibleTableInterface>
#include <QApplication>
#include <QDir>
#include <QFile>
#include <QMimeData>
#include <QPointer>
#include <QTemporaryDir>
#include <QTest>
#include <QUrl>
#include <cmath>
#include <gtest/gtest.h>
#include <optional>
#include <sys/xattr.h>

namespace {

// The smallest file whose content says WAV: a RIFF/WAVE header and a few samples.
QByteArray WavBytes() {
    QByteArray bytes("RIFF\x2c\x00\x00\x00WAVEfmt \x10\x00\x00\x00\x01\x00\x01\x00"
                     // "\x00d" would read as one escape: "data" starts a literal of its own.
                     "\x44\xac\x00\x00\x88\x58\x01\x00\x02\x00\x10\x00"
                     "data\x08\x00\x00\x00",
                     44);
    bytes.append(8, '\0');
    return bytes;
}

class FileListViewTest : public WindowFixture {
protected:
    void SetUp() override {
        WindowFixture::SetUp();
        Open()->show();
        ASSERT_TRUE(QTest::qWaitForWindowExposed(window));
        list = window->FileList();
    }

    QString Make(const QString& name, const QByteArray& bytes) {
        const QString path = root.filePath(name);
        QFile file(path);
        EXPECT_TRUE(file.open(QIODevice::WriteOnly));
        file.write(bytes);
        return path;
    }

    // A drop of the files on the list, as a file manager sends it, by default in its middle.
    void Drop(const QStringList& paths, std::optional<QPoint> where = std::nullopt) {
        QList<QUrl> urls;
        for (const QString& path : paths) {
            urls << QUrl::fromLocalFile(path);
        }
        QMimeData data;
        data.setUrls(urls);
        const QPoint at = where.value_or(list->rect().center());
        QDragEnterEvent enter(at, Qt::CopyAction, &data, Qt::LeftButton, Qt::NoModifier);
        QApplication::sendEvent(list, &enter);
        ASSERT_TRUE(enter.isAccepted());
        QDropEvent drop(at, Qt::CopyAction, &data, Qt::LeftButton, Qt::NoModifier);
        QApplication::sendEvent(list, &drop);
        QCoreApplication::processEvents(); // the drop arrives as a message
    }

    std::string Cell(int32_t row, int32_t column) const {
        const char* text = static_cast<AudioItem*>(list->ItemAt(row))->GetColumnContentText(column);
        return text ? text : "";
    }

    // Double-clicks a cell of a row that is selected already, which opens its editor.
    void EditCell(int32_t row, int32_t column) {
        list->Select(row);
        const QRect cell = list->ConvertToWidget(list->CellFrame(column, row));
        QTest::mouseDClick(list, Qt::LeftButton, {}, cell.center());
        QCoreApplication::processEvents();
    }

    FileListView* list = nullptr;
};

TEST_F(FileListViewTest, TakesWavFilesByContentAndTypeNeverByName) {
    window->SetCurrentIndex(3);
    const QString wav = Make(QStringLiteral("song.wav"), WavBytes());
    const QString disguised = Make(QStringLiteral("x.txt"), WavBytes());
    const QString text = Make(QStringLiteral("y.wav"), "just some text\n");
    QFile::link(wav, root.filePath(QStringLiteral("link.wav")));
    QDir(root.path()).mkdir(QStringLiteral("folder.wav"));
    const QString typed = Make(QStringLiteral("typed"), "text that says it is audio\n");
    const bool attributes =
        setxattr(QFile::encodeName(typed).constData(), "user.mime_type", "audio/wav", 9, 0) == 0;

    Drop({root.filePath(QStringLiteral("folder.wav")), wav, disguised, text,
          root.filePath(QStringLiteral("link.wav")), wav, typed});

    const int added = attributes ? 5 : 4;
    ASSERT_EQ(list->CountItems(), added);
    EXPECT_EQ(Cell(0, AudioItem::kFilenameColumn), "song.wav");
    EXPECT_EQ(Cell(1, AudioItem::kFilenameColumn), "x.txt");
    EXPECT_EQ(Cell(2, AudioItem::kPathColumn), QFile::encodeName(wav).toStdString())
        << "a link adds the file it points to";
    EXPECT_EQ(Cell(3, AudioItem::kFilenameColumn), "song.wav") << "the same file twice, two rows";
    EXPECT_EQ(list->GetNumItemsNotDone(), added);
    EXPECT_EQ(window->CurrentIndex(), 0);
    auto* count = window->findChild<SmallView*>(QStringLiteral("FileCountView"));
    ASSERT_NE(count, nullptr);
    EXPECT_EQ(count->Count(), added);
}

QByteArray Chunk(const char* id, const QByteArray& body) {
    const auto size = static_cast<uint32_t>(body.size());
    return id + QByteArray(reinterpret_cast<const char*>(&size), 4) + body +
           (body.size() % 2 != 0 ? QByteArray(1, '\0') : QByteArray());
}

// A WAV file with a RIFF INFO list of these entries behind its samples.
QByteArray WavWithInfo(const std::vector<std::pair<const char*, QByteArray>>& entries) {
    QByteArray info = "INFO";
    for (const auto& [id, text] : entries) {
        info += Chunk(id, text + '\0');
    }
    QByteArray wav = WavBytes() + Chunk("LIST", info);
    const auto riffSize = static_cast<uint32_t>(wav.size() - 8);
    wav.replace(4, 4, QByteArray(reinterpret_cast<const char*>(&riffSize), 4));
    return wav;
}

TEST_F(FileListViewTest, RowsTakeTheTagsTheirWavFilesCarryWhereTheyStillHoldWhatTheyWereAddedWith) {
    const QByteArray longTitle = "Ünïcödé title far longer than the thirty bytes of ID3v1";
    const QString tagged =
        Make(QStringLiteral("tagged.wav"), WavWithInfo({{"INAM", longTitle},
                                                        {"IART", "Björk"},
                                                        {"IPRD", "Homogenic"},
                                                        {"ICRD", "1997-09-22"},
                                                        {"ITRK", "7"},
                                                        {"IGNR", "Alternative Rock"}}));
    QByteArray damaged = WavWithInfo({{"INAM", "Never read"}});
    damaged.replace(damaged.indexOf("LIST") + 4, 4, QByteArray("\xff\xff\0\0", 4));
    const QString broken = Make(QStringLiteral("broken.wav"), damaged);
    const QString plain = Make(QStringLiteral("plain.wav"), WavBytes());
    Drop({tagged, broken, plain});
    ASSERT_EQ(list->CountItems(), 3);
    auto* row = static_cast<AudioItem*>(list->ItemAt(0));
    row->SetArtist("Typed before the tags were in");
    list->FinishReadingTags();

    EXPECT_EQ(row->FullTitle(), longTitle.toStdString());
    EXPECT_EQ(TagText(row->tag.artist), "Typed before the tags were in");
    EXPECT_EQ(TagText(row->tag.album), "Homogenic");
    EXPECT_EQ(TagText(row->tag.year), "1997");
    EXPECT_EQ(row->track, 7);
    EXPECT_EQ(Cell(0, AudioItem::kTrackColumn), "7");
    EXPECT_EQ(row->tag.genre, 40);
    EXPECT_EQ(row->Warning(), "");

    for (const int32_t added : {1, 2}) {
        const auto* other = static_cast<AudioItem*>(list->ItemAt(added));
        EXPECT_EQ(TagText(other->tag.title), Cell(added, AudioItem::kFilenameColumn));
        EXPECT_EQ(TagText(other->tag.album), "");
    }
    const auto* damagedRow = static_cast<AudioItem*>(list->ItemAt(1));
    EXPECT_NE(damagedRow->Warning(), "");
    const QRect mark = list->ConvertToWidget(list->CellFrame(AudioItem::kDoneColumn, 1));
    EXPECT_TRUE(list->HelpAt(mark.center()).contains(QStringLiteral("could not be read")));
}

TEST_F(FileListViewTest, APictureDroppedOnSelectedRowsBecomesTheirCover) {
    const QString first = Make(QStringLiteral("1.wav"), WavBytes());
    Drop({first, first, first});
    ASSERT_EQ(list->CountItems(), 3);
    const QString png =
        Make(QStringLiteral("art.jpg"), QByteArray("\x89PNG\r\n\x1a\n", 8) + QByteArray(32, 'p'));
    const QString text = Make(QStringLiteral("notes.png"), "not a picture");
    const auto rowCentre = [this](int32_t row) {
        return list->ConvertToWidget(list->CellFrame(AudioItem::kFilenameColumn, row)).center();
    };
    const auto cover = [this](int32_t row) {
        return QFile::decodeName(static_cast<AudioItem*>(list->ItemAt(row))->Cover().c_str());
    };

    list->Select(0, 1);
    Drop({text}, rowCentre(0));
    EXPECT_EQ(cover(0), QString());
    Drop({png}, rowCentre(1));
    EXPECT_EQ(cover(0), png);
    EXPECT_EQ(cover(1), png);
    EXPECT_EQ(cover(2), QString());
    Drop({png}, rowCentre(2)); // a row not selected takes it alone
    EXPECT_EQ(cover(2), png);
    EXPECT_EQ(list->CountItems(), 3);
}

TEST_F(FileListViewTest, RowsTakeTheirTitleFromTheNameCutOnACharacter) {
    const QString longName = QString(28, QLatin1Char('n')) + QStringLiteral("éé-end.wav");
    const QString path = Make(longName, WavBytes());
    AudioItem* row = list->AddEntry(QFile::encodeName(path).toStdString(), 7);
    ASSERT_NE(row, nullptr);
    EXPECT_EQ(row->track, 7);
    EXPECT_EQ(Cell(0, AudioItem::kTrackColumn), "7");
    EXPECT_EQ(Cell(0, AudioItem::kFilenameColumn), longName.toStdString());
    EXPECT_EQ(Cell(0, AudioItem::kSaveAsColumn), longName.toStdString());
    EXPECT_EQ(std::string(row->tag.title), std::string(28, 'n') + "\xC3\xA9");
    EXPECT_EQ(list->AddEntry(
                  QFile::encodeName(root.filePath(QStringLiteral("gone.wav"))).toStdString(), -1),
              nullptr);
}

TEST_F(FileListViewTest, EditsTrackAndSaveAsCellsOnly) {
    const QString path = Make(QStringLiteral("a.wav"), WavBytes());
    for (int i = 0; i < 5; ++i) {
        list->AddEntry(QFile::encodeName(path).toStdString(), -1);
    }
    for (int32_t column :
         {AudioItem::kDoneColumn, AudioItem::kFilenameColumn, AudioItem::kPathColumn}) {
        EditCell(0, column);
        EXPECT_EQ(list->Editor(), nullptr) << "column " << column;
    }

    struct Case {
        int32_t column;
        QString typed;
        std::string cell;
        int32_t track;
    };
    const Case cases[] = {
        {AudioItem::kTrackColumn, QString(), "", 0}, // an empty cell committed as it is
        {AudioItem::kTrackColumn, QStringLiteral("0a0x7"), "007", 7},
        {AudioItem::kTrackColumn, QStringLiteral("99999999999"), "99999999999", 2147483647},
        {AudioItem::kSaveAsColumn, QStringLiteral("A:B/C"), "ABC", -1},
    };
    int32_t row = 0;
    for (const Case& c : cases) {
        ++row;
        EditCell(row, c.column);
        RenameTextView* editor = list->Editor();
        ASSERT_NE(editor, nullptr);
        EXPECT_EQ(editor->geometry(), list->ConvertToWidget(list->CellFrame(c.column, row)));
        editor->clear();
        QTest::keyClicks(editor, c.typed);
        QTest::keyClick(editor,
                        c.column == AudioItem::kTrackColumn ? Qt::Key_Return : Qt::Key_Escape);
        QCoreApplication::processEvents();
        EXPECT_EQ(list->Editor(), nullptr);
        EXPECT_EQ(Cell(row, c.column), c.cell) << c.typed.toStdString();
        EXPECT_EQ(static_cast<AudioItem*>(list->ItemAt(row))->track, c.track);
    }
    std::unique_ptr<char[]> name(static_cast<AudioItem*>(list->ItemAt(1))->CreateString("%t"));
    EXPECT_STREQ(name.get(), "00") << "an empty Track cell committed unchanged stores 0";
}

TEST_F(FileListViewTest, AClickElsewhereEndsTheEditAndStillSelects) {
    const QString path = Make(QStringLiteral("a.wav"), WavBytes());
    for (int i = 0; i < 3; ++i) {
        list->AddEntry(QFile::encodeName(path).toStdString(), -1);
    }
    EditCell(0, AudioItem::kSaveAsColumn);
    ASSERT_NE(list->Editor(), nullptr);
    QTest::keyClicks(list->Editor(), QStringLiteral("new name"));
    SaveScreenshot(window->FileList()->Container(), QStringLiteral("file-list-editing"));

    // A second edit start ends the first, keeping its text; only one editor exists.
    EditCell(0, AudioItem::kTrackColumn);
    EXPECT_EQ(Cell(0, AudioItem::kSaveAsColumn), "new name");
    QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
    EXPECT_EQ(list->findChildren<RenameTextView*>().size(), 1);
    QTest::keyClicks(list->Editor(), QStringLiteral("5"));

    const QRect other = list->ConvertToWidget(list->CellFrame(AudioItem::kFilenameColumn, 2));
    QTest::mouseClick(list, Qt::LeftButton, {}, other.center());
    QCoreApplication::processEvents();
    QCoreApplication::processEvents();
    EXPECT_EQ(list->Editor(), nullptr);
    EXPECT_EQ(static_cast<AudioItem*>(list->ItemAt(0))->track, 5);
    EXPECT_TRUE(list->IsItemSelected(2));
    EXPECT_FALSE(list->IsItemSelected(0));
}

TEST_F(FileListViewTest, SelectingARowShowsItsTags) {
    const QString path = Make(QStringLiteral("a.wav"), WavBytes());
    AudioItem* row = list->AddEntry(QFile::encodeName(path).toStdString(), -1);
    row->SetArtist("Someone");
    row->SetYear("2001");
    list->Select(0);
    QLineEdit* artist = Find<QLineEdit>(QStringLiteral("Artist:"));
    ASSERT_NE(artist, nullptr);
    EXPECT_EQ(artist->text(), QStringLiteral("Someone"));
    list->DeselectAll();
    EXPECT_EQ(artist->text(), QStringLiteral("Someone")) << "no selection leaves the fields";
}

TEST_F(FileListViewTest, ColumnsShowAndHide) {
    EXPECT_FALSE(list->ColumnAt(AudioItem::kOutputColumn)->IsShown()) << "hidden at first";
    list->ShowColumn(3, false);
    list->ShowColumn(4, true);
    list->ShowColumn(5, false);
    list->ShowColumn(-1, false);
    EXPECT_FALSE(list->ColumnAt(AudioItem::kPathColumn)->IsShown());
    EXPECT_TRUE(list->ColumnAt(AudioItem::kOutputColumn)->IsShown());
    EXPECT_TRUE(list->ColumnAt(AudioItem::kTrackColumn)->IsShown());
}

// A header's sort mark is the order of the rows: a click sorts them, rows added or edited later
// take their place in that order, and the next Encode starts looking at the top.
TEST_F(FileListViewTest, HeaderClicksSortTheRows) {
    const std::pair<const char*, long> files[] = {
        {"track10.wav", 3}, {"Track2.wav", -1}, {"track1.wav", 12}, {"b.wav", 1}};
    for (const auto& [name, track] : files) {
        list->AddEntry(QFile::encodeName(Make(QString::fromLatin1(name), WavBytes())).toStdString(),
                       track);
    }
    const auto names = [this] {
        std::string shown;
        for (int32_t row = 0; row < list->CountItems(); ++row) {
            shown += (row ? " " : "") + Cell(row, AudioItem::kFilenameColumn);
        }
        return shown;
    };
    struct Click {
        int32_t column;
        bool reverse; // a second click on the sorting column
        const char* order;
    };
    for (const Click& click :
         {Click{AudioItem::kFilenameColumn, false, "b.wav track1.wav Track2.wav track10.wav"},
          Click{AudioItem::kFilenameColumn, true, "track10.wav Track2.wav track1.wav b.wav"},
          Click{AudioItem::kTrackColumn, false, "b.wav track10.wav track1.wav Track2.wav"}}) {
        window->SetCurrentIndex(3);
        if (click.reverse) {
            list->ReverseSortMode(click.column);
        } else {
            list->SetSortKey(click.column);
        }
        EXPECT_EQ(names(), click.order);
        EXPECT_EQ(window->CurrentIndex(), 0);
    }

    // A row added in the middle while a cell below is being edited: the edit ends on its row.
    EditCell(3, AudioItem::kSaveAsColumn);
    ASSERT_NE(list->Editor(), nullptr);
    list->Editor()->setText(QStringLiteral("renamed"));
    list->AddEntry(QFile::encodeName(Make(QStringLiteral("a.wav"), WavBytes())).toStdString(), 5);
    EXPECT_EQ(names(), "b.wav track10.wav a.wav track1.wav Track2.wav");
    EXPECT_EQ(list->Editor(), nullptr);
    EXPECT_EQ(Cell(4, AudioItem::kSaveAsColumn), "renamed") << "Track2.wav, now one lower";
    EditCell(0, AudioItem::kTrackColumn);
    ASSERT_NE(list->Editor(), nullptr);
    list->Editor()->setText(QStringLiteral("20"));
    QTest::keyClick(list->Editor(), Qt::Key_Return);
    QCoreApplication::processEvents();
    EXPECT_EQ(names(), "track10.wav a.wav track1.wav b.wav Track2.wav");
}

// Columns wider than the list: a click right of the horizontal bar's knob brings the last column
// into view, the header moves along, and the file count keeps its place beside the bar.
TEST_F(FileListViewTest, TheHorizontalBarScrollsColumnsWiderThanTheList) {
    list->ShowColumn(4, true); // "Output File"
    window->resize(420, window->height());
    QCoreApplication::processEvents();
    kit::ScrollBar* bar = list->Container()->GetScrollBar(kit::B_HORIZONTAL);
    auto* count = window->findChild<SmallView*>(QStringLiteral("FileCountView"));
    const QRect countPlace = count->geometry();
    ASSERT_LT(count->geometry().right(), bar->geometry().left());
    float min = 0.0f;
    float max = 0.0f;
    bar->GetRange(&min, &max);
    ASSERT_GT(max, min) << "the bar can scroll";

    for (int click = 0; click < 20 && bar->Value() < max; ++click) {
        QTest::mouseClick(bar, Qt::LeftButton, {}, QPoint(bar->width() - 20, bar->height() / 2));
    }
    EXPECT_EQ(bar->Value(), max);
    EXPECT_EQ(list->Bounds().left, max);
    EXPECT_EQ(list->ColumnAt(AudioItem::kOutputColumn)->ColumnEnd(), list->Bounds().right);
    EXPECT_EQ(list->Header()->Bounds().left, max) << "the header follows the list";
    EXPECT_EQ(count->geometry(), countPlace);
    SaveScreenshot(list->Container(), QStringLiteral("list-scrolled-sideways"));
}

// A row being encoded fills with its progress from the left; on a selected row the fill stands
// out from the row at least as much as on one not selected.
TEST_F(FileListViewTest, ARunningRowShowsItsProgressAlsoWhenSelected) {
    AudioItem* row = list->AddEntry(
        QFile::encodeName(Make(QStringLiteral("a.wav"), WavBytes())).toStdString(), -1);
    ASSERT_NE(row, nullptr);
    // A pixel of the empty "Track" cell, inside the filled half of the row.
    const QPoint pixel =
        list->ConvertToWidget(list->CellFrame(AudioItem::kTrackColumn, 0)).center();
    const auto colour = [&](bool selected, float progress) {
        if (selected) {
            list->Select(0);
        } else {
            list->DeselectAll();
        }
        row->progress = progress;
        list->InvalidateItem(0);
        return QColor(list->grab().toImage().pixel(pixel));
    };
    const auto contrast = [&](bool selected) {
        const QColor plain = colour(selected, -1.0f);
        EXPECT_EQ(colour(selected, 0.01f), plain) << "the fill ends at the progress";
        const QColor filled = colour(selected, 0.5f);
        SaveScreenshot(list->Container(), QStringLiteral("row-progress-selected-%1").arg(selected));
        return std::hypot(plain.red() - filled.red(), plain.green() - filled.green(),
                          plain.blue() - filled.blue());
    };
    const double notSelected = contrast(false);
    EXPECT_GT(notSelected, 0.0);
    EXPECT_GE(contrast(true), notSelected);
}

TEST_F(FileListViewTest, GrowingTheWindowGrowsTheListOnly) {
    auto* tabs = window->findChild<QTabWidget*>();
    const int tabHeight = tabs->height();
    const int listHeight = list->Container()->height();
    window->resize(window->width() + 200, window->height() + 300);
    QCoreApplication::processEvents();
    EXPECT_EQ(tabs->height(), tabHeight);
    EXPECT_EQ(list->Container()->height(), listHeight + 300);
    EXPECT_GT(list->Container()->width(), 600);
}

TEST_F(FileListViewTest, CountViewDrawsItsBevelAndText) {
    auto* count = window->findChild<SmallView*>(QStringLiteral("FileCountView"));
    struct Case {
        long n;
        const char* text;
    };
    for (const Case& c : {Case{0, "0 Files"}, Case{1, "1 File"}, Case{2, "2 Files"}}) {
        count->SetText(c.n);
        EXPECT_EQ(count->Text(), c.text);
    }
    const QImage picture = SaveScreenshot(count, QStringLiteral("file-count-view"));
    const int r = picture.width() - 1;
    const int b = picture.height() - 1;
    EXPECT_EQ(picture.pixelColor(0, 0), QColor(152, 152, 152));
    EXPECT_EQ(picture.pixelColor(r, b / 2), QColor(152, 152, 152));
    EXPECT_EQ(picture.pixelColor(5, 1), QColor(255, 255, 255));
    EXPECT_EQ(picture.pixelColor(r - 1, b / 2), QColor(194, 194, 194));
    EXPECT_EQ(picture.pixelColor(r - 3, b - 3), QColor(216, 216, 216));
    bool dark = false;
    for (int x = 5; x < 20; ++x) {
        dark = dark || picture.pixelColor(x, 8).value() < 100;
    }
    EXPECT_TRUE(dark) << "the text is drawn";
}

TEST_F(FileListViewTest, ScreenReadersReadTheListAsATable) {
    const QString path = Make(QStringLiteral("song.wav"), WavBytes());
    list->AddEntry(QFile::encodeName(path).toStdString(), 4);
    list->AddEntry(QFile::encodeName(path).toStdString(), -1);
    QAccessibleInterface* access = QAccessible::queryAccessibleInterface(list);
    ASSERT_NE(access, nullptr);
    EXPECT_EQ(access->role(), QAccessible::Table);
    QAccessibleTableInterface* table = access->tableInterface();
    ASSERT_NE(table, nullptr);
    EXPECT_EQ(table->rowCount(), 2);
    EXPECT_EQ(table->columnCount(), 5);
    QAccessibleInterface* track = table->cellAt(0, AudioItem::kTrackColumn);
    ASSERT_NE(track, nullptr);
    EXPECT_EQ(track->text(QAccessible::Name), QStringLiteral("4"));
    EXPECT_EQ(table->cellAt(1, AudioItem::kFilenameColumn)->text(QAccessible::Name),
              QStringLiteral("song.wav"));
    EXPECT_EQ(table->columnDescription(AudioItem::kSaveAsColumn), QStringLiteral("Save As"));
    // A cell names its column's header, as AT-SPI's getColumnHeader asks it.
    const QList<QAccessibleInterface*> headers =
        table->cellAt(1, AudioItem::kSaveAsColumn)->tableCellInterface()->columnHeaderCells();
    ASSERT_EQ(headers.size(), 1);
    EXPECT_EQ(headers[0]->role(), QAccessible::ColumnHeader);
    EXPECT_EQ(headers[0]->text(QAccessible::Name), QStringLiteral("Save As"));
    EXPECT_FALSE(headers[0]->rect().isEmpty());
    EXPECT_TRUE(table->selectRow(1));
    EXPECT_TRUE(list->IsItemSelected(1));
    EXPECT_EQ(table->selectedRows(), QList<int>{1});
    static_cast<AudioItem*>(list->ItemAt(0))->SetItemDone(true);
    EXPECT_FALSE(table->cellAt(0, AudioItem::kDoneColumn)->text(QAccessible::Name).isEmpty());
}

} // namespace

namespace {

// Under a dark desktop theme the list, its header and the file count take the palette's colours
// (here Fusion's with a dark palette); a light palette keeps the list's own (the tests above).
TEST_F(FileListViewTest, ADarkPaletteDarkensTheListItsHeaderAndTheCount) {
    const QString path = Make(QStringLiteral("song.wav"), WavBytes());
    list->AddEntry(QFile::encodeName(path).toStdString(), 4);
    list->AddEntry(QFile::encodeName(path).toStdString(), 5);
    list->Select(1);
    // The tests run under Fusion, the style Qt takes where no desktop names one.
    ASSERT_EQ(QApplication::style()->name().toLower(), QStringLiteral("fusion"));
    const QPalette light = QApplication::palette();
    QPalette dark = QApplication::style()->standardPalette();
    for (const auto& [role, color] : std::initializer_list<std::pair<QPalette::ColorRole, QColor>>{
             {QPalette::Window, QColor(53, 53, 53)},
             {QPalette::WindowText, Qt::white},
             {QPalette::Base, QColor(35, 35, 35)},
             {QPalette::Text, Qt::white},
             {QPalette::Button, QColor(60, 60, 60)},
             {QPalette::ButtonText, Qt::white},
             {QPalette::Highlight, QColor(42, 130, 218)},
             {QPalette::HighlightedText, Qt::black}}) {
        dark.setColor(role, color);
    }
    QApplication::setPalette(dark);
    QCoreApplication::processEvents();
    const QImage picture = SaveScreenshot(list->Container(), QStringLiteral("file-list-dark"));
    const QRect firstRow = list->ConvertToWidget(list->ItemFrame(0));
    const QPoint listOrigin = list->mapTo(list->Container(), QPoint(0, 0));
    const auto at = [&](QPoint inList) { return picture.pixelColor(inList + listOrigin); };
    EXPECT_EQ(at({firstRow.right() - 5, firstRow.center().y()}), QColor(35, 35, 35)) << "a row";
    EXPECT_EQ(at({firstRow.right() - 5, list->height() - 5}), QColor(35, 35, 35))
        << "below the rows";
    const QRect secondRow = list->ConvertToWidget(list->ItemFrame(1));
    EXPECT_EQ(at({secondRow.right() - 5, secondRow.center().y()}), QColor(42, 130, 218))
        << "the selected row";
    const QPoint header = list->Header()->mapTo(list->Container(), QPoint(0, 0));
    EXPECT_EQ(picture.pixelColor(header + QPoint(list->Header()->width() - 4, 6)),
              QColor(60, 60, 60))
        << "the header's face";
    const QImage count =
        window->findChild<SmallView*>(QStringLiteral("FileCountView"))->grab().toImage();
    EXPECT_EQ(count.pixelColor(count.width() - 4, count.height() - 4), QColor(60, 60, 60));
    bool lightText = false;
    for (int x = firstRow.left(); x < firstRow.right(); ++x) {
        lightText = lightText || at({x, firstRow.center().y()}).value() > 200;
    }
    EXPECT_TRUE(lightText) << "a row's text is drawn in the palette's text colour";

    QApplication::setPalette(light);
    QCoreApplication::processEvents();
}

} // namespace
