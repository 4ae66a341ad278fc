// SPDX-License-Identifier: GPL-3.0-or-later
#include "bubblehelp/BubbleHelper.h"
#include "support/WindowFixture.h"

using TooltipsTest = WindowFixture;

TEST_F(TooltipsTest, TheControlsGetTheirTextsOnlyWhenTooltipsAreEnabled) {
    // A control named by its label or text, or by the widget's own name; any part of a
    // control finds the control's help.
    const std::pair<const char*, const char*> expected[] = {
        {"# of CPUs:", "Set this to the number of processors\nyou want to be utilized."},
        {"VBR:", "Variable Bit Rate.  Values range for 0 to 9,\n0 being high quality and 9 being "
                 "high compression."},
        {"Save in:", "Drag and Drop a folder onto this to set\noutput directory where the file "
                     "will be saved."},
        {"Stop", "Stop the encoding."},
        {"ListView", "Drag wav files here to encode."},
        {"Album", "Check the tags that you only want\nto apply for the selected files."},
        {"Delete input file after encoding",
         "File being encoded will be deleted\nafter encoding is complete."},
        {"Get Files from CD:", "Select an audio CD to retrieve files from."},
        {"Genre:", "Select the type of music that applies to this song."},
        {"Priority:", "This sets the priority of the encoding thread."},
        {"Output filename as:",
         "The name of each MP3 file: %s song title, %n Save As name, %c album,\n%a artist, %A "
         "album artist, %y year, %t track, %d disc of several;\na / makes folders, as in "
         "%A/%c/%d-%t-%s."},
        {"Artist:", ""},
    };
    Open();
    const auto* bubbles = window->findChild<BubbleHelper*>();
    ASSERT_NE(bubbles, nullptr);
    for (const auto& [name, text] : expected) {
        EXPECT_EQ(bubbles->FindHelp(Find<QWidget>(QString::fromUtf8(name))),
                  QString::fromUtf8(text))
            << name;
    }
    for (const QWidget* widget : window->findChildren<QWidget*>()) {
        EXPECT_TRUE(widget->toolTip().isEmpty()) << "no Qt tooltip beside the bubbles";
    }

    delete window.data();
    prefs = new VamblePrefs("Xq-Vamble");
    prefs->SetInt8("EnableTooltips", 0);
    Open();
    bubbles = window->findChild<BubbleHelper*>();
    for (const QWidget* widget : window->findChildren<QWidget*>()) {
        EXPECT_TRUE(bubbles->FindHelp(widget).isNull()) << widget->metaObject()->className();
    }
}
