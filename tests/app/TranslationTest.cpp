// SPDX-License-Identifier: GPL-3.0-or-later
// Starts the application as a German desktop would, with its own main: the language is chosen
// before the application object exists.
#include "app/Translations.h"
#include "app/VambleApp.h"
#include "app/VamblePrefs.h"
#include "encoding/EncoderCommand.h"
#include "filelist/SmallView.h"
#include "support/TestEnvironment.h"
#include "support/WidgetTestSetup.h"
#include "window/ClashDialog.h"
#include "window/NameTagsDialog.h"

#include <QFontMetrics>
#include <QMenuBar>
#include <QTabWidget>
#include <gtest/gtest.h>

TEST(Translation, TheWindowOpensInTheDesktopsLanguage) {
    auto* app = static_cast<VambleApp*>(QCoreApplication::instance());
    prefs->MakeEmpty();
    app->ReadyToRun();
    VambleWindow* window = app->MainWindow();
    ASSERT_NE(window, nullptr);

    QStringList labels;
    for (const QAction* menu : window->menuBar()->actions()) {
        labels << menu->text();
    }
    auto* tabs = window->findChild<QTabWidget*>();
    ASSERT_NE(tabs, nullptr);
    for (int tab = 0; tab < tabs->count(); ++tab) {
        labels << tabs->tabText(tab);
    }
    ASSERT_EQ(labels.size(), 6);
    for (const char* english :
         {"&File", "&Edit", "&Columns", "GoGo Settings", "MP3 Tags", "Settings"}) {
        EXPECT_FALSE(labels.contains(QLatin1String(english))) << english;
    }
    // Qt's own texts, in its dialogs' buttons, follow.
    EXPECT_NE(QCoreApplication::translate("QPlatformTheme", "Cancel"), QStringLiteral("Cancel"));
    // A longer German word is shown whole: the file count ("13 Dateien").
    auto* count = window->findChild<SmallView*>(QStringLiteral("FileCountView"));
    ASSERT_NE(count, nullptr);
    count->SetText(13);
    const QFontMetrics countFont(count->font());
    // The text begins 5 pixels in.
    EXPECT_GE(count->width(),
              5 + countFont.horizontalAdvance(QString::fromStdString(count->Text())));
    SaveScreenshot(window, QStringLiteral("window_in_german"));
    for (int tab = 1; tab < tabs->count(); ++tab) {
        tabs->setCurrentIndex(tab);
        SaveScreenshot(window, QStringLiteral("window_in_german-tab%1").arg(tab));
    }
    delete window;
}

// Texts translated outside the window's own class: the context each class gives tr(), and the one
// the core library names, must be the one the translation was made for.
TEST(Translation, DialogsAndTheCoreLibrarysReasonsAreTranslated) {
    const About about;
    const ClashDialog clashes(2, {});
    NameTagsDialog names({{1, "/music/Jean-Michel Jarre/Oxygene/01 - Oxygene, Part I.wav"}},
                         QStringLiteral("%a/%c/%t - %s"));
    SaveScreenshot(&names, QStringLiteral("name-tags-dialog-german"));
    const std::string noFolder = BuildEncoderCommand(EncoderSettings{}, "/tmp/a.wav", "a").detail;
    const std::pair<QString, const char*> shownAndEnglish[] = {
        {about.windowTitle(), "About Vamble"},
        {clashes.windowTitle(), "Overwrite Files?"},
        {names.windowTitle(), "Tags from File Names"},
        {QString::fromStdString(noFolder), "No output folder is given."},
    };
    SaveScreenshot(about.View(), QStringLiteral("about-german"));
    EXPECT_NE(about.View()->Lines()[2], QStringLiteral("WAV to tagged MP3"));
    for (const auto& [shown, english] : shownAndEnglish) {
        EXPECT_FALSE(shown.isEmpty()) << english;
        EXPECT_NE(shown, QLatin1String(english));
    }
}

int main(int argc, char** argv) {
    ::testing::InitGoogleTest(&argc, argv);
    // What a German desktop session sets; it comes first among the languages Qt reads.
    qputenv("LANGUAGE", "de_DE:de");
    TestEnvironment environment;
    PrepareWidgetTests();
    Translations translations;
    VambleApp app(argc, argv);
    translations.Install();
    UseTestFont();
    return RUN_ALL_TESTS();
}
