// SPDX-License-Identifier: GPL-3.0-or-later
// The "MP3 Tags" tab: the tag fields, the genre pop-up, and the "Only Apply These ID3 Tags"
// check boxes with "Apply Tags".
#pragma once

#include "kit/Layout.h"

#include <QCheckBox>
#include <QCoreApplication>
#include <QWidget>
#include <optional>
#include <string>

class AudioItem;
class QComboBox;

// The tag values "Apply Tags" gives the selected rows: only the ticked ones.
struct TagEdits {
    std::optional<std::string> artist, album, title, year, comment;
    std::optional<int> genre; // the genre's number, not its place in the menu
    void ApplyTo(AudioItem& row) const;
};

class TagsTab : public QWidget {
    // Its texts belong to the window's translation context, as the window's other texts do.
    Q_DECLARE_TR_FUNCTIONS(VambleWindow)

public:
    // "Apply Tags" sends its command to `window`.
    explicit TagsTab(QObject* window);

    // Shows a row's tag values; a genre number without a name marks no genre.
    void Show(const char* artist, const char* album, const char* comment, const char* songTitle,
              const char* year, int genre) const;
    // Appends the 111 genre names in menu order. They stay English, never translated: the item
    // marked is looked up by name and written into the tags as it reads.
    static void FillGenres(QComboBox& menu);
    // The ticked fields' values, read once.
    [[nodiscard]] TagEdits Edits() const;

    kit::TextControl* const albumText;
    kit::TextControl* const artistText;
    kit::TextControl* const songTitleText;
    kit::TextControl* const commentText;
    kit::TextControl* const yearText;
    kit::PopUp* const genrePopUp;
    QCheckBox* const applyAlbumCheck;
    QCheckBox* const applyCommentCheck;
    QCheckBox* const applyArtistCheck;
    QCheckBox* const applyYearCheck;
    QCheckBox* const applySongTitleCheck;
    QCheckBox* const applyGenreCheck;
    // Kept for its help bubble.
    QWidget* onlyApplyFrame = nullptr;
};
