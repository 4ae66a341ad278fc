// SPDX-License-Identifier: GPL-3.0-or-later
#include "window/VambleWindow.h"

#include "app/VambleApp.h"
#include "app/VamblePrefs.h"
#include "filelist/AudioItem.h"
#include "filelist/FileListView.h"
#include "kit/ElidedLabel.h"
#include "support/SettingsKeys.h"
#include "support/WidgetTestSetup.h"
#include "support/WindowFixture.h"

#include <QAction>
#include <QApplication>
#include <QComboBox>
#include <QDir>
#include <QKeyEvent>
#include <QLineEdit>
#include <QMenuBar>
#include <QPointer>
#include <QProgressBar>
#include <QPushButton>
#include <QSpinBox>
#include <QTabWidget>
#include <QTest>
#include <QThread>
#include <gtest/gtest.h>

namespace {

// Finds the one widget of the window whose accessible name (its label) is the given text.
template <class T> T* Named(QWidget* window, const QString& name) {
    T* found = nullptr;
    for (T* widget : window->findChildren<T*>()) {
        const QString widgetName = widget->accessibleName().isEmpty()
                                       ? widget->property("text").toString()
                                       : widget->accessibleName();
        if (widgetName == name) {
            EXPECT_EQ(found, nullptr) << "two controls are named " << name.toStdString();
            found = widget;
        }
    }
    EXPECT_NE(found, nullptr) << "no control is named " << name.toStdString();
    return found;
}

QAction* MenuItem(QWidget* window, const QString& text) {
    for (QAction* action : window->findChildren<QAction*>()) {
        if (action->text() == text) {
            return action;
        }
    }
    ADD_FAILURE() << "no menu item " << text.toStdString();
    return nullptr;
}

// Types the text one character at a time, as key presses carrying that character.
void Type(QWidget* field, const QString& text) {
    for (const QChar c : text) {
        QKeyEvent press(QEvent::KeyPress, 0, Qt::NoModifier, QString(c));
        QApplication::sendEvent(field, &press);
    }
}

// Deletes the window the way closing it does, and lets queued events run.
void DestroyWindow(QPointer<VambleWindow>& window) {
    delete window.data();
    QCoreApplication::processEvents();
}

} // namespace

using VambleWindowTest = WindowFixture;

TEST_F(VambleWindowTest, WithoutSettingsShowsTheDefaults) {
    VambleWindow* w = Open();
    EXPECT_EQ(w->windowTitle(), QStringLiteral("Vamble"));
    EXPECT_EQ(Named<QComboBox>(w, QStringLiteral("Bitrate:"))->currentText(),
              QStringLiteral("128"));
    EXPECT_EQ(Named<QComboBox>(w, QStringLiteral("Output Format:"))->currentText(),
              QStringLiteral("Stereo"));
    EXPECT_FALSE(Named<QCheckBox>(w, QStringLiteral("Enable VBR"))->isChecked());
    auto* vbr = Named<QSpinBox>(w, QStringLiteral("VBR:"));
    EXPECT_FALSE(vbr->isEnabled());
    EXPECT_EQ(vbr->value(), 0);
    auto* cpus = Named<QSpinBox>(w, QStringLiteral("# of CPUs:"));
    EXPECT_EQ(cpus->value(), QThread::idealThreadCount());
    EXPECT_EQ(cpus->maximum(), QThread::idealThreadCount());
    EXPECT_EQ(Named<QSpinBox>(w, QStringLiteral("Priority:"))->value(), 10);
    EXPECT_TRUE(
        Named<QCheckBox>(w, QStringLiteral("Add .mp3 file extension to file."))->isChecked());
    EXPECT_FALSE(
        Named<QCheckBox>(w, QStringLiteral("Delete input file after encoding"))->isChecked());
    EXPECT_FALSE(Named<QCheckBox>(w, QStringLiteral("Disable psycho-acoustics"))->isChecked());
    for (const char* column : {"Track", "Filename", "Save As", "Path To File"}) {
        EXPECT_TRUE(MenuItem(w, QString::fromLatin1(column))->isChecked()) << column;
    }
    EXPECT_FALSE(MenuItem(w, QStringLiteral("Output File"))->isChecked());
    EXPECT_EQ(Named<QLineEdit>(w, QStringLiteral("Save in:"))->text(), QString());
    EXPECT_EQ(Named<QLineEdit>(w, QStringLiteral("Output filename as:"))->text(),
              QStringLiteral("%t-%s"));
    EXPECT_TRUE(Named<QCheckBox>(w, QStringLiteral("Enable Tooltips."))->isChecked());
    const std::pair<const char*, bool> boxes[] = {{"Also write ID3v2 tags", true},
                                                  {"Embed cover art", true},
                                                  {"Write ReplayGain tags", false},
                                                  {"Look up discs online", true}};
    for (const auto& [label, checked] : boxes) {
        EXPECT_EQ(Named<QCheckBox>(w, QString::fromLatin1(label))->isChecked(), checked) << label;
    }
    EXPECT_EQ(Named<QLineEdit>(w, QStringLiteral("gnudb e-mail:"))->text(), QString());
    EXPECT_EQ(Named<QSpinBox>(w, QStringLiteral("Files at once:"))->value(),
              std::min(QThread::idealThreadCount(), 4));
    EXPECT_EQ(Named<QComboBox>(w, QStringLiteral("Genre:"))->currentIndex(), -1);
    EXPECT_FALSE(Named<QPushButton>(w, QStringLiteral("Stop"))->isEnabled());
    EXPECT_TRUE(Named<QPushButton>(w, QStringLiteral("Encode"))->isEnabled());
}

TEST_F(VambleWindowTest, StoredSettingsAreRestored) {
    prefs->SetInt32("Bits", 256);
    prefs->SetString("OutputFormat", "mono");
    prefs->SetInt8("VBRState", 1);
    prefs->SetInt8("VBRCount", 4);
    prefs->SetInt8("threadpriority", 3);
    prefs->SetInt8("PathC", 0);
    prefs->SetInt8("mp3ext", 0);
    prefs->SetInt8("EnableTooltips", 0);
    prefs->SetInt8("id3v2", 0);
    prefs->SetString("OutputDir", "/srv/music");
    prefs->SetString("outPutFileName", "%a/%c/%t-%s");
    VambleWindow* w = Open();
    EXPECT_EQ(Named<QComboBox>(w, QStringLiteral("Bitrate:"))->currentText(),
              QStringLiteral("256"));
    EXPECT_EQ(Named<QComboBox>(w, QStringLiteral("Output Format:"))->currentText(),
              QStringLiteral("Mono"));
    EXPECT_TRUE(Named<QSpinBox>(w, QStringLiteral("VBR:"))->isEnabled());
    EXPECT_EQ(Named<QSpinBox>(w, QStringLiteral("VBR:"))->value(), 4);
    EXPECT_EQ(Named<QSpinBox>(w, QStringLiteral("Priority:"))->value(), 3);
    EXPECT_FALSE(MenuItem(w, QStringLiteral("Path To File"))->isChecked());
    EXPECT_TRUE(MenuItem(w, QStringLiteral("Save As"))->isChecked());
    EXPECT_FALSE(MenuItem(w, QStringLiteral("Output File"))->isChecked())
        << "a settings file from before the Output File column keeps it hidden";
    EXPECT_FALSE(
        Named<QCheckBox>(w, QStringLiteral("Add .mp3 file extension to file."))->isChecked());
    EXPECT_FALSE(Named<QCheckBox>(w, QStringLiteral("Enable Tooltips."))->isChecked());
    EXPECT_FALSE(Named<QCheckBox>(w, QStringLiteral("Also write ID3v2 tags"))->isChecked());
    EXPECT_EQ(Named<QLineEdit>(w, QStringLiteral("Save in:"))->text(),
              QStringLiteral("/srv/music"));
    EXPECT_EQ(Named<QLineEdit>(w, QStringLiteral("Output filename as:"))->text(),
              QStringLiteral("%a/%c/%t-%s"));
}

TEST_F(VambleWindowTest, UnmatchedBitRateAndFormatFollowTheirRules) {
    struct Case {
        std::string format;
        const char* marked;
    };
    for (const Case& c :
         {Case{"stereo", "Stereo"}, Case{"sausage", "Stereo"}, Case{"mono", "Mono"},
          Case{"j-stereo", "J-Stereo"}, Case{"Mono", "J-Stereo"}, Case{"", "J-Stereo"}}) {
        delete prefs;
        QFile::remove(root.path() + QStringLiteral("/Xq-Vamble"));
        prefs = new VamblePrefs("Xq-Vamble");
        prefs->SetInt32("Bits", 112);
        prefs->SetString("OutputFormat", c.format);
        prefs->SetString("outPutFileName", "");
        VambleWindow* w = Open();
        EXPECT_EQ(Named<QComboBox>(w, QStringLiteral("Bitrate:"))->currentIndex(), -1);
        EXPECT_EQ(Named<QComboBox>(w, QStringLiteral("Output Format:"))->currentText(),
                  QString::fromLatin1(c.marked))
            << c.format;
        EXPECT_EQ(Named<QLineEdit>(w, QStringLiteral("Output filename as:"))->text(),
                  QStringLiteral("%t-%s"));
        std::string bits;
        w->GetEncBits(bits);
        EXPECT_EQ(bits, "128") << "no marked bit rate reads as 128";
        delete w;
        prefs = new VamblePrefs("Xq-Vamble"); // the window deleted (and wrote) the store
    }
}

TEST_F(VambleWindowTest, TagFieldsRefuseTextBeyondTheirByteWidth) {
    VambleWindow* w = Open();
    w->show();
    for (const char* label : {"Artist:", "Album:", "Song Title:", "Comment:"}) {
        auto* field = Named<QLineEdit>(w, QString::fromLatin1(label));
        Type(field, QString(35, QLatin1Char('x')));
        EXPECT_EQ(field->text().size(), 30) << label;
    }
    auto* artist = Named<QLineEdit>(w, QStringLiteral("Artist:"));
    artist->clear();
    // Twenty-eight bytes, then a two-byte letter fits and a second does not.
    Type(artist, QString(28, QLatin1Char('a')) + QStringLiteral("éé"));
    EXPECT_EQ(artist->text().toUtf8().size(), 30);
    auto* year = Named<QLineEdit>(w, QStringLiteral("Year:"));
    Type(year, QStringLiteral("19999"));
    EXPECT_EQ(year->text(), QStringLiteral("1999"));
}

TEST_F(VambleWindowTest, ClosingSavesEveryKey) {
    VambleWindow* w = Open();
    Named<QCheckBox>(w, QStringLiteral("Disable psycho-acoustics"))->setChecked(true);
    Named<QComboBox>(w, QStringLiteral("Output Format:"))->setCurrentIndex(2);
    Named<QLineEdit>(w, QStringLiteral("Save in:"))->setText(QStringLiteral("/tmp/out"));
    Named<QSpinBox>(w, QStringLiteral("VBR:"))->setValue(7);
    Named<QCheckBox>(w, QStringLiteral("Also write ID3v2 tags"))->setChecked(false);
    DestroyWindow(window);
    EXPECT_EQ(prefs, nullptr) << "the window deletes the store, which writes the file";

    VamblePrefs saved("Xq-Vamble");
    EXPECT_EQ(saved.CountNames(), kSettingsKeyCount);
    kit::Rect frame;
    EXPECT_EQ(saved.Find("WindowRect", &frame), kit::B_OK);
    std::string text;
    EXPECT_EQ(saved.Find("OutputFormat", &text), kit::B_OK);
    EXPECT_EQ(text, "j-stereo");
    int32_t bits = 0;
    EXPECT_EQ(saved.Find("Bits", &bits), kit::B_OK);
    EXPECT_EQ(bits, 128);
    for (const char* key : {"VBRState", "CPUCount", "VBRCount", "EnableTooltips", "threadpriority",
                            "TrackC", "FileNC", "SaveAsC", "PathC", "mp3ext", "deleteFile", "nopsy",
                            "id3v2", "FilesAtOnce", "OutputC", "EmbedCoverArt", "ReplayGain"}) {
        int8_t value = -1;
        EXPECT_EQ(saved.Find(key, &value), kit::B_OK) << key;
    }
    int8_t value = 0;
    saved.Find("nopsy", &value);
    EXPECT_EQ(value, 1);
    saved.Find("VBRCount", &value);
    EXPECT_EQ(value, 7);
    saved.Find("id3v2", &value);
    EXPECT_EQ(value, 0);
    EXPECT_EQ(saved.Find("OutputDir", &text), kit::B_OK);
    EXPECT_EQ(text, "/tmp/out");
    EXPECT_EQ(saved.Find("outPutFileName", &text), kit::B_OK);
    EXPECT_EQ(text, "%t-%s");
    EXPECT_EQ(saved.Find("TagsFromNamesPattern", &text), kit::B_OK);
    EXPECT_EQ(text, "%t - %a - %s");
    prefs = new VamblePrefs("Xq-Vamble");
}

TEST_F(VambleWindowTest, CtrlQClosesTheWindowAndWritesTheSettings) {
    VambleWindow* w = Open();
    w->show();
    ASSERT_TRUE(QTest::qWaitForWindowExposed(w));
    QTest::keyClick(w, Qt::Key_Q, Qt::ControlModifier);
    // The menu posts the quit request; closing deletes the window later.
    ASSERT_TRUE(QTest::qWaitFor([&] { return window.isNull(); }));
    EXPECT_TRUE(QFile::exists(root.path() + QStringLiteral("/Xq-Vamble")));
    prefs = new VamblePrefs("Xq-Vamble");
    EXPECT_EQ(prefs->CountNames(), kSettingsKeyCount);
}

// Ctrl+Tab and Ctrl+Shift+Tab switch the tabs wherever the focus is, round at the ends.
TEST_F(VambleWindowTest, CtrlTabSwitchesTabsFromAnywhereInTheWindow) {
    VambleWindow* w = Open();
    w->show();
    w->activateWindow();
    ASSERT_TRUE(QTest::qWaitForWindowActive(w));
    auto* tabs = w->findChild<QTabWidget*>();
    struct Press {
        QWidget* focus;
        Qt::Key key;
        Qt::KeyboardModifiers modifiers;
        int tab;
    };
    QWidget* saveIn = Named<QLineEdit>(w, QStringLiteral("Save in:"));
    QWidget* list = w->FileList();
    for (const Press& press :
         {Press{saveIn, Qt::Key_Tab, Qt::ControlModifier, 1},
          Press{list, Qt::Key_Tab, Qt::ControlModifier, 2},
          Press{list, Qt::Key_Tab, Qt::ControlModifier, 0},
          Press{list, Qt::Key_Backtab, Qt::ControlModifier | Qt::ShiftModifier, 2},
          // X11 reports the same keys as Ctrl+Backtab, and as Ctrl+Shift+Tab at once.
          Press{list, Qt::Key_Backtab, Qt::ControlModifier, 1},
          Press{list, Qt::Key_Tab, Qt::ControlModifier | Qt::ShiftModifier, 0}}) {
        press.focus->setFocus();
        QTest::keyClick(QApplication::focusWidget(), press.key, press.modifiers);
        EXPECT_EQ(tabs->currentIndex(), press.tab);
    }
}

// A status line longer than the window is cut with "…" and told whole in its tooltip and
// accessible description; the window keeps its width.
TEST_F(VambleWindowTest, ALongStatusLineNeverWidensTheWindow) {
    VambleWindow* w = Open();
    w->show();
    ASSERT_TRUE(QTest::qWaitForWindowExposed(w));
    kit::ElidedLabel* status = nullptr;
    for (auto* label : w->findChildren<kit::ElidedLabel*>()) {
        status = label->text().startsWith(QStringLiteral("Encoding File: ")) ? label : status;
    }
    ASSERT_NE(status, nullptr);
    const int width = w->width();
    const int minimum = w->minimumSizeHint().width();
    const QString text = QStringLiteral("No names found for this disc (MusicBrainz could not be "
                                        "reached: %1)")
                             .arg(QString(300, u'x'));
    status->setText(text);
    QCoreApplication::processEvents();
    if (const QByteArray shots = qgetenv("VAMBLE_SCREENSHOT_DIR"); !shots.isEmpty()) {
        w->grab().save(QString::fromLocal8Bit(shots) + QStringLiteral("/long-status.png"));
    }
    EXPECT_EQ(w->width(), width);
    EXPECT_LE(w->minimumSizeHint().width(), minimum);
    EXPECT_EQ(status->text(), text);
    EXPECT_EQ(status->toolTip(), text);
    EXPECT_EQ(status->accessibleDescription(), text);
    status->setText(QStringLiteral("Short"));
    EXPECT_TRUE(status->toolTip().isEmpty());
}

// A selected row shows its genre in the MP3 Tags tab, and none when nobody gave it one.
TEST_F(VambleWindowTest, ARowWithoutAGenreShowsNone) {
    VambleWindow* w = Open();
    auto* genre = Named<QComboBox>(w, QStringLiteral("Genre:"));
    QFile file(root.filePath(QStringLiteral("a.wav")));
    ASSERT_TRUE(file.open(QIODevice::WriteOnly));
    file.write(QByteArray("RIFF\x24\x00\x00\x00WAVEfmt ", 16));
    file.close();
    FileListView* list = w->FileList();
    AudioItem* row = list->AddEntry(QFile::encodeName(file.fileName()).toStdString(), -1);
    ASSERT_NE(row, nullptr);
    list->Select(0);
    EXPECT_EQ(genre->currentIndex(), -1);
    row->SetGenre(17);
    list->DeselectAll();
    list->Select(0);
    EXPECT_EQ(genre->currentText(), QStringLiteral("Rock"));
}

// Edit > Remove shows its shortcut, and the shortcut removes the selected rows from the list.
TEST_F(VambleWindowTest, RemoveShowsCtrlDeleteWhichRemovesTheSelectedRows) {
    VambleWindow* w = Open();
    w->show();
    w->activateWindow();
    ASSERT_TRUE(QTest::qWaitForWindowActive(w));
    QAction* remove = nullptr;
    for (QAction* action : w->findChildren<QAction*>()) {
        remove = action->text() == QStringLiteral("Remove") ? action : remove;
    }
    ASSERT_NE(remove, nullptr);
    EXPECT_EQ(remove->shortcut(), QKeySequence(Qt::CTRL | Qt::Key_Delete));

    FileListView* list = w->FileList();
    for (const char* name : {"a.wav", "b.wav"}) {
        QFile file(root.filePath(QString::fromLatin1(name)));
        ASSERT_TRUE(file.open(QIODevice::WriteOnly));
        file.write(QByteArray("RIFF\x24\x00\x00\x00WAVEfmt ", 16));
        file.close();
        ASSERT_NE(list->AddEntry(QFile::encodeName(file.fileName()).toStdString(), -1), nullptr);
    }
    list->Select(0);
    list->setFocus();
    QTest::keyClick(QApplication::focusWidget(), Qt::Key_Delete, Qt::ControlModifier);
    ASSERT_TRUE(QTest::qWaitFor([list] { return list->CountItems() == 1; }));
}

// The status area spans the window as the list does, and the encoder's check boxes keep to the
// right edge, however wide the window is.
TEST_F(VambleWindowTest, TheStatusAreaAndCheckBoxesFollowTheWindowsWidth) {
    VambleWindow* w = Open();
    w->show();
    ASSERT_TRUE(QTest::qWaitForWindowExposed(w));
    const auto right = [w](const QWidget* widget) {
        return widget->mapTo(w, QPoint(widget->width(), 0)).x();
    };
    const QWidget* list = w->FileList()->Container();
    const QWidget* bar = Named<QProgressBar>(w, QStringLiteral("Encoding progress"));
    const QWidget* box = Named<QCheckBox>(w, QStringLiteral("Delete input file after encoding"));
    const QWidget* page = w->findChild<QTabWidget*>()->widget(0);
    for (const int width : {w->minimumSizeHint().width(), 1800}) {
        w->resize(width, w->height());
        QCoreApplication::processEvents();
        EXPECT_NEAR(right(bar), right(list), 20) << width;
        EXPECT_NEAR(right(box), right(page), 20) << width;
    }
    SaveScreenshot(w, QStringLiteral("main-window-wide"));
}

TEST_F(VambleWindowTest, ApplyTagsIsEnabledWhileATagIsTicked) {
    VambleWindow* w = Open();
    auto* apply = Named<QPushButton>(w, QStringLiteral("Apply Tags"));
    EXPECT_FALSE(apply->isEnabled());
    for (const char* tag : {"Album", "Artist", "Song Title", "Comment", "Year", "Genre"}) {
        auto* box = Named<QCheckBox>(w, QString::fromLatin1(tag));
        box->setChecked(true);
        EXPECT_TRUE(apply->isEnabled()) << tag;
        box->setChecked(false);
        EXPECT_FALSE(apply->isEnabled()) << tag;
    }
}

TEST_F(VambleWindowTest, ColumnsItemsToggleTheirMarkOnce) {
    VambleWindow* w = Open();
    QAction* path = MenuItem(w, QStringLiteral("Path To File"));
    path->trigger();
    QCoreApplication::processEvents();
    EXPECT_FALSE(path->isChecked());
    path->trigger();
    QCoreApplication::processEvents();
    EXPECT_TRUE(path->isChecked());
}

TEST_F(VambleWindowTest, EnableVbrEnablesTheLevel) {
    VambleWindow* w = Open();
    w->show();
    ASSERT_TRUE(QTest::qWaitForWindowExposed(w));
    auto* enable = Named<QCheckBox>(w, QStringLiteral("Enable VBR"));
    QTest::mouseClick(enable, Qt::LeftButton, {}, QPoint(5, enable->height() / 2));
    ASSERT_TRUE(enable->isChecked());
    QCoreApplication::processEvents();
    EXPECT_TRUE(Named<QSpinBox>(w, QStringLiteral("VBR:"))->isEnabled());
}

TEST_F(VambleWindowTest, LabelsAreBuddiesAndTheTreeIsComplete) {
    VambleWindow* w = Open();
    auto* tabs = w->findChild<QTabWidget*>();
    ASSERT_NE(tabs, nullptr);
    ASSERT_EQ(tabs->count(), 3);
    EXPECT_EQ(tabs->tabText(0), QStringLiteral("GoGo Settings"));
    EXPECT_EQ(tabs->tabText(1), QStringLiteral("MP3 Tags"));
    EXPECT_EQ(tabs->tabText(2), QStringLiteral("Settings"));
    for (QLabel* label : w->findChildren<QLabel*>()) {
        if (label->text().endsWith(QLatin1Char(':'))) {
            ASSERT_NE(label->buddy(), nullptr) << label->text().toStdString();
            EXPECT_EQ(label->buddy()->accessibleName(), label->text());
        }
    }
    auto* bitrate = Named<QComboBox>(w, QStringLiteral("Bitrate:"));
    QStringList items;
    for (int i = 0; i < bitrate->count(); ++i) {
        items << bitrate->itemText(i);
    }
    EXPECT_EQ(items.join(QLatin1Char(' ')), QStringLiteral("64 96 128 160 192 256 320"));
    for (const char* button : {"Select Dir", "Apply Tags", "Rescan for CDs", "Stop", "Encode"}) {
        Named<QPushButton>(w, QString::fromLatin1(button));
    }
    for (const char* box : {"Album", "Artist", "Song Title", "Comment", "Year", "Genre"}) {
        Named<QCheckBox>(w, QString::fromLatin1(box));
    }
    Named<QComboBox>(w, QStringLiteral("Genre:"));
    Named<QComboBox>(w, QStringLiteral("Get Files from CD:"));
    QStringList menus;
    for (QAction* menu : w->menuBar()->actions()) {
        menus << menu->text();
    }
    EXPECT_EQ(menus.join(QLatin1Char(' ')), QStringLiteral("&File &Edit &Columns"));
    EXPECT_EQ(MenuItem(w, QStringLiteral("Quit"))->shortcut(),
              QKeySequence(QStringLiteral("Ctrl+Q")));
    EXPECT_EQ(MenuItem(w, QStringLiteral("Select All"))->shortcut(),
              QKeySequence(QStringLiteral("Ctrl+A")));
    EXPECT_EQ(MenuItem(w, QStringLiteral("Rescan for CDs"))->shortcut(),
              QKeySequence(QStringLiteral("Ctrl+R")));

    w->show();
    for (int tab = 0; tab < 3; ++tab) {
        tabs->setCurrentIndex(tab);
        SaveScreenshot(w, QStringLiteral("main-window-tab%1").arg(tab));
    }
}

TEST_F(VambleWindowTest, GenreMenuListsTheGenresInByteOrder) {
    VambleWindow* w = Open();
    auto* genre = Named<QComboBox>(w, QStringLiteral("Genre:"));
    ASSERT_EQ(genre->count(), 111);
    EXPECT_EQ(genre->itemText(0), QStringLiteral("Acid"));
    EXPECT_EQ(genre->itemText(1), QStringLiteral("Acid Jazz"));
    EXPECT_EQ(genre->itemText(2), QStringLiteral("Acid Punk"));
    EXPECT_EQ(genre->itemText(109), QStringLiteral("Trip-Hop"));
    EXPECT_EQ(genre->itemText(110), QStringLiteral("Vocal"));
}

TEST_F(VambleWindowTest, FillInMp3TagsShowsARowsValues) {
    VambleWindow* w = Open();
    auto* genre = Named<QComboBox>(w, QStringLiteral("Genre:"));
    w->FillInMp3Tags("Artist A", "Album B", "Comment C", "Title D", "1999", 84);
    EXPECT_EQ(Named<QLineEdit>(w, QStringLiteral("Artist:"))->text(), QStringLiteral("Artist A"));
    EXPECT_EQ(Named<QLineEdit>(w, QStringLiteral("Album:"))->text(), QStringLiteral("Album B"));
    EXPECT_EQ(Named<QLineEdit>(w, QStringLiteral("Comment:"))->text(), QStringLiteral("Comment C"));
    EXPECT_EQ(Named<QLineEdit>(w, QStringLiteral("Song Title:"))->text(),
              QStringLiteral("Title D"));
    EXPECT_EQ(Named<QLineEdit>(w, QStringLiteral("Year:"))->text(), QStringLiteral("1999"));
    ASSERT_EQ(genre->currentText(), QStringLiteral("Fusion"));
    EXPECT_NE(genre->itemText(genre->currentIndex() - 1), QStringLiteral("Fusion"))
        << "a row with genre 84 marks the first of the two Fusion items";

    w->FillInMp3Tags("", "", "", "", "", 0);
    EXPECT_EQ(genre->currentText(), QStringLiteral("Blues"));
    w->FillInMp3Tags("", "", "", "", "", 200);
    EXPECT_EQ(genre->currentIndex(), -1) << "a number without a name marks nothing";
}

TEST_F(VambleWindowTest, ASmallFrameNeverSquashesTheControls) {
    window = new VambleWindow(kit::Rect(0, 0, 400, 400));
    window->Inititialize();
    window->show();
    ASSERT_TRUE(QTest::qWaitForWindowExposed(window));
    auto* tabs = window->findChild<QTabWidget*>();
    for (int tab = 0; tab < tabs->count(); ++tab) {
        tabs->setCurrentIndex(tab);
        QCoreApplication::processEvents();
        for (QWidget* control : tabs->currentWidget()->findChildren<QWidget*>()) {
            // The controls themselves, not the parts Qt builds them from.
            const bool isControl = control->inherits("QAbstractButton") ||
                                   control->inherits("QComboBox") ||
                                   control->inherits("QAbstractSpinBox") ||
                                   (control->inherits("QLineEdit") &&
                                    !control->parentWidget()->inherits("QAbstractSpinBox"));
            if (!isControl || !control->isVisible()) {
                continue;
            }
            EXPECT_GE(control->width(), control->minimumSizeHint().width())
                << control->metaObject()->className() << " "
                << control->property("text").toString().toStdString();
            EXPECT_GE(control->height(), control->minimumSizeHint().height());
        }
    }
}

namespace {

// Rows typed into one window come back in the next one as they were: a done row does not, a row
// whose WAV file went in between comes back marked, and a CD row whose track left the cache does
// not.
TEST_F(VambleWindowTest, TheListComesBackAtTheNextStart) {
    const auto wav = [&](const char* name) {
        QFile file(root.filePath(QString::fromLatin1(name)));
        EXPECT_TRUE(file.open(QIODevice::WriteOnly));
        file.write(QByteArray("RIFF\x24\x00\x00\x00WAVEfmt ", 16));
        return QFile::encodeName(file.fileName()).toStdString();
    };
    const std::filesystem::path state =
        QFile::encodeName(root.filePath(QStringLiteral("state"))).toStdString();
    VambleWindow* w = Open();
    w->KeepList(std::make_unique<KeptListFile>(state));
    FileListView* list = w->FileList();
    AudioItem* typed = list->AddEntry(wav("typed.wav"), 3);
    typed->SetArtist("Nora Quist");
    typed->SetGenre(17);
    typed->SetColumnContent(AudioItem::kSaveAsColumn, "Spring Tide.wav");
    list->AddEntry(wav("done.wav"), -1)->SetItemDone(true);
    list->AddEntry(wav("gone.wav"), -1);
    list->AddEntry(wav("cd.wav"), 1)->disc =
        std::make_shared<DiscSource>(DiscSource{DiscToc{1, {150}, 9000}, {}});
    DestroyWindow(window);
    // A CD track that left the cache takes its row along.
    for (const char* name : {"gone.wav", "cd.wav"}) {
        ASSERT_TRUE(QFile::remove(root.filePath(QString::fromLatin1(name))));
    }

    prefs = new VamblePrefs("Xq-Vamble"); // the window deleted (and wrote) the store
    w = Open();
    w->KeepList(std::make_unique<KeptListFile>(state));
    list = w->FileList();
    ASSERT_EQ(list->CountItems(), 2);
    const auto* first = static_cast<AudioItem*>(list->ItemAt(0));
    EXPECT_EQ(first->ref.path.filename(), "typed.wav");
    EXPECT_EQ(first->track, 3);
    EXPECT_STREQ(first->tag.artist, "Nora Quist");
    EXPECT_TRUE(first->GenreGiven());
    EXPECT_STREQ(first->GetColumnContentText(AudioItem::kSaveAsColumn), "Spring Tide.wav");
    const auto* second = static_cast<AudioItem*>(list->ItemAt(1));
    list->FinishReadingTags();
    EXPECT_FALSE(second->SourceDamage().empty()) << "its file is gone";
    EXPECT_TRUE(first->SourceDamage().empty());
}

} // namespace
