// SPDX-License-Identifier: GPL-3.0-or-later
// The "Tags from File Names" dialog: its preview follows the pattern as it is typed, and Apply
// hands over only the rows it matches.
#include "window/NameTagsDialog.h"

#include "support/WidgetTestSetup.h"

#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QTableWidget>
#include <QTest>
#include <gtest/gtest.h>

namespace {

TEST(NameTagsDialogTest, PreviewFollowsThePatternAndApplyTakesTheMatches) {
    NameTagsDialog dialog({{11, "/music/Björk/Homogenic/01 - Björk - Hunter.wav"},
                           {12, "/music/Björk/Homogenic/Jóga.wav"},
                           {13, "/music/Other/02 - Someone - Song.WAV"}},
                          QString::fromLatin1(NameTagsDialog::kDefaultPattern));
    auto* preview = dialog.findChild<QTableWidget*>();
    auto* pattern = dialog.findChild<QLineEdit*>();
    QPushButton* apply = nullptr;
    for (QPushButton* button : dialog.findChildren<QPushButton*>()) {
        apply = button->text() == QStringLiteral("Apply") ? button : apply;
    }
    ASSERT_TRUE(preview && pattern && apply);
    const auto cell = [&](int row, int column) { return preview->item(row, column)->text(); };

    EXPECT_EQ(cell(0, 1), QStringLiteral("1"));
    EXPECT_EQ(cell(0, 2), QStringLiteral("Hunter"));
    EXPECT_EQ(cell(0, 3), QStringLiteral("Björk"));
    EXPECT_EQ(cell(1, 2), QStringLiteral("(no match)"));
    EXPECT_EQ(cell(2, 2), QStringLiteral("Song"));
    EXPECT_TRUE(apply->isEnabled());
    SaveScreenshot(&dialog, QStringLiteral("name-tags-dialog"));

    pattern->clear();
    QTest::keyClicks(pattern, QStringLiteral("%c/%q"));
    EXPECT_FALSE(apply->isEnabled());
    pattern->setText(QStringLiteral("%a/%c/%s"));
    EXPECT_EQ(cell(1, 2), QStringLiteral("Jóga"));
    EXPECT_EQ(cell(1, 4), QStringLiteral("Homogenic"));

    const std::vector<NameTagsDialog::Match> matches = dialog.Matches();
    ASSERT_EQ(matches.size(), 3U);
    EXPECT_EQ(matches[2].id, 13);
    EXPECT_EQ(matches[2].tags.artist, "music");
    EXPECT_EQ(matches[2].tags.album, "Other");
    EXPECT_EQ(dialog.Pattern(), QStringLiteral("%a/%c/%s"));
}

} // namespace
