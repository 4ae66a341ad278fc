// SPDX-License-Identifier: GPL-3.0-or-later
// The window's commands on the rows: applying the tag fields, removing rows, selecting all.
#include "filelist/FileListView.h"
#include "filelist/SmallView.h"
#include "tagging/GenreTable.h"
#include "window/NameTagsDialog.h"
#include "window/VambleWindow.h"

void VambleWindow::ApplyTags() {
    // Each checked box copies its field into every selected row; unchecked tags keep the row's
    // own values. Fields are read once, as the row setters cut them.
    const std::string artist = artistText->Text().toStdString();
    const std::string album = albumText->Text().toStdString();
    const std::string title = songTitleText->Text().toStdString();
    const std::string year = yearText->Text().toStdString();
    const std::string comment = commentText->Text().toStdString();
    const QString genre = genrePopUp->MarkedLabel();
    for (int32_t i = fileList->CountItems() - 1; i >= 0; --i) {
        auto* row = dynamic_cast<AudioItem*>(fileList->ItemAt(i));
        if (!row || !fileList->IsItemSelected(i)) {
            continue;
        }
        if (applyArtistCheck->isChecked()) {
            row->SetArtist(artist.c_str());
        }
        if (applyAlbumCheck->isChecked()) {
            row->SetAlbum(album.c_str());
        }
        if (applySongTitleCheck->isChecked()) {
            row->SetSongTitle(title.c_str());
        }
        if (applyYearCheck->isChecked()) {
            row->SetYear(year.c_str());
        }
        if (applyCommentCheck->isChecked()) {
            row->SetComment(comment.c_str());
        }
        // The genre number is the name's place in the table by number, not in the menu.
        if (applyGenreCheck->isChecked() && !genre.isEmpty()) {
            row->SetGenre(GetGenreIndex(genre.toLatin1().constData()));
        }
    }
    // The tags name the output files.
    ScheduleOutputCheck();
}

void VambleWindow::TagsFromFileNames() {
    fileList->EndEditing();
    std::vector<NameTagsDialog::Row> rows;
    for (int32_t i = 0; i < fileList->CountItems(); ++i) {
        const auto* row = dynamic_cast<const AudioItem*>(fileList->ItemAt(i));
        if (row && fileList->IsItemSelected(i)) {
            rows.push_back({row->Id(), row->ref.path});
        }
    }
    if (rows.empty()) {
        return;
    }
    NameTagsDialog dialog(std::move(rows), nameTagPattern, this);
    if (dialog.exec() != QDialog::Accepted) {
        return;
    }
    nameTagPattern = dialog.Pattern();
    for (const NameTagsDialog::Match& match : dialog.Matches()) {
        const auto [row, index] = fileList->FindRow(match.id);
        if (row) {
            row->TakeFoundTags(match.tags);
            fileList->InvalidateItem(index);
        }
    }
    // The tags name the output files.
    ShowSelectedTags();
    ScheduleOutputCheck();
}

void VambleWindow::RemoveItems() {
    fileList->EndEditing();
    int32_t topmost = -1;
    for (int32_t i = fileList->CountItems() - 1; i >= 0; --i) {
        if (!fileList->IsItemSelected(i)) {
            continue;
        }
        if (const auto* row = dynamic_cast<AudioItem*>(fileList->ItemAt(i))) {
            RowRemoved(*row);
        }
        delete fileList->RemoveItem(i);
        countView->SetText(fileList->CountItems());
        topmost = i;
    }
    if (topmost < 0) {
        return;
    }
    SetCurrentIndex(0);
    // The run goes on with the rows left, now that the list is as it will stay.
    if (IsEncoding()) {
        FollowNewestRow();
        queue->StartMore();
    }
    if (topmost < fileList->CountItems()) {
        fileList->Select(topmost);
    } else {
        fileList->DeselectAll();
    }
}

void VambleWindow::SelectAll() {
    if (fileList->hasFocus()) {
        fileList->Select(0, fileList->CountItems() - 1);
    } else if (saveInText->Edit()->hasFocus()) {
        saveInText->Edit()->selectAll();
    }
}
