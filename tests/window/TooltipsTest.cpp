#include "WindowFixture.h"
#include "bubblehelp/BubbleHelper.h"

#include <QComboBox>
#include <QLineEdit>
#include <QPushButton>
#include <QSpinBox>

namespace {

using TooltipsTest = WindowFixture;

} // namespace

TEST_F(TooltipsTest, EnabledTooltipsGiveTheTenControlsTheirTexts) {
    Open();
    const auto* bubbles = window->findChild<BubbleHelper*>();
    ASSERT_NE(bubbles, nullptr);
    const std::pair<QWidget*, const char*> expected[] = {
        {Find<QSpinBox>(QStringLiteral("# of CPUs:")),
         "Set this to the number of processors\nyou want to be utilized."},
        {Find<QSpinBox>(QStringLiteral("VBR:")),
         "Variable Bit Rate.  Values range for 0 to 9,\n0 being high quality and 9 being high "
         "compression."},
        {Find<QLineEdit>(QStringLiteral("Save in:")),
         "Drag and Drop a folder onto this to set\noutput directory where the file will be "
         "saved."},
        {Find<QPushButton>(QStringLiteral("Stop")), "Stop the encoding."},
        {window->findChild<QWidget*>(QStringLiteral("FileListArea")),
         "Drag wav files here to encode."},
        {Find<QCheckBox>(QStringLiteral("Album")),
         "Check the tags that you only want\nto apply for the selected files."},
        {Find<QCheckBox>(QStringLiteral("Delete input file after encoding")),
         "File being encoded will be deleted\nafter encoding is complete."},
        {Find<QComboBox>(QStringLiteral("Get Files from CD:")),
         "Select an audio CD to retrieve files from."},
        {Find<QComboBox>(QStringLiteral("Genre:")),
         "Select the type of music that applies to this song."},
        {Find<QSpinBox>(QStringLiteral("Priority:")),
         "This sets the priority of the encoding thread."},
    };
    for (const auto& [control, text] : expected) {
        ASSERT_NE(control, nullptr) << text;
        EXPECT_EQ(bubbles->FindHelp(control), QString::fromUtf8(text));
    }
    EXPECT_TRUE(bubbles->FindHelp(Find<QLineEdit>(QStringLiteral("Artist:"))).isNull());
    for (const QWidget* widget : window->findChildren<QWidget*>()) {
        EXPECT_TRUE(widget->toolTip().isEmpty()) << "no Qt tooltip beside the bubbles";
    }
}

TEST_F(TooltipsTest, DisabledTooltipsLeaveEveryControlWithoutHelp) {
    prefs->SetInt8("EnableTooltips", 0);
    Open();
    const auto* bubbles = window->findChild<BubbleHelper*>();
    ASSERT_NE(bubbles, nullptr);
    for (const QWidget* widget : window->findChildren<QWidget*>()) {
        EXPECT_TRUE(bubbles->FindHelp(widget).isNull()) << widget->metaObject()->className();
    }
}
