// SPDX-License-Identifier: GPL-3.0-or-later
// The window's commands on the rows: applying the tag fields, removing rows, selecting all.
#include "filelist/FileListView.h"
#include "filelist/SmallView.h"
#include "kit/ElidedLabel.h"
#include "window/EncoderTab.h"
#include "window/NameTagsDialog.h"
#include "window/TagsTab.h"
#include "window/VambleWindow.h"

void VambleWindow::ApplyTags() {
    // Each checked box copies its field into every selected row; unchecked tags keep the row's
    // own values.
    const TagEdits edits = tags->Edits();
    for (int32_t i = fileList->CountItems() - 1; i >= 0; --i) {
        auto* row = dynamic_cast<AudioItem*>(fileList->ItemAt(i));
        if (row && fileList->IsItemSelected(i)) {
            edits.ApplyTo(*row);
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
            run->RowRemoved(row->Id());
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
        run->FollowNewestRow();
        run->Queue().StartMore();
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
    } else if (encoder->saveInText->Edit()->hasFocus()) {
        encoder->saveInText->Edit()->selectAll();
    }
}
