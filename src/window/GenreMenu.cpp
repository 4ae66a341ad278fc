// SPDX-License-Identifier: GPL-3.0-or-later
// The Genre pop-up of the MP3 Tags tab, and showing a row's tag values in the tag controls.
#include "tagging/GenreTable.h"
#include "window/VambleWindow.h"

// The names stay English, never translated: the item marked is looked up by name and written
// into the tags as it reads.
void VambleWindow::FillGenrePopUp(QComboBox& menu) {
    for (const char* name : genre_table_sorted) {
        menu.addItem(QString::fromLatin1(name));
    }
}

void VambleWindow::FillInMp3Tags(const char* artist, const char* album, const char* comment,
                                 const char* songTitle, const char* year, int genre) {
    artistText->SetText(QString::fromUtf8(artist));
    albumText->SetText(QString::fromUtf8(album));
    commentText->SetText(QString::fromUtf8(comment));
    songTitleText->SetText(QString::fromUtf8(songTitle));
    // A genre number without a name marks no item, rather than the first one.
    genrePopUp->MarkItem(genre >= 0 && genre < genre_count
                             ? GetGenreSortedIndex(genre_table[static_cast<size_t>(genre)])
                             : -1);
    yearText->SetText(QString::fromUtf8(year));
}
