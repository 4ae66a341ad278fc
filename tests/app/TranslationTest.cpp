// Starts the application as a German desktop would, with its own main: the language is chosen
// before the application object exists.
#include "app/Translations.h"
#include "app/VambleApp.h"
#include "app/VamblePrefs.h"
#include "support/TestEnvironment.h"
#include "support/WidgetTestSetup.h"

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
    const auto* tabs = window->findChild<QTabWidget*>();
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
    SaveScreenshot(window, QStringLiteral("window_in_german"));
    delete window;
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
