// SPDX-License-Identifier: GPL-3.0-or-later
#include "window/TagsTab.h"

#include "filelist/AudioItem.h"
#include "tagging/GenreTable.h"
#include "window/WindowLayout.h"
#include "window/WindowMessages.h"

#include <QHBoxLayout>
#include <QVBoxLayout>
#include <algorithm>
#include <array>

namespace {

// ID3v1 field widths in bytes.
constexpr int kTagTextBytes = 30;
constexpr int kTagYearBytes = 4;

} // namespace

void TagEdits::ApplyTo(AudioItem& row) const {
    if (artist) {
        row.SetArtist(artist->c_str());
    }
    if (album) {
        row.SetAlbum(album->c_str());
    }
    if (title) {
        row.SetSongTitle(title->c_str());
    }
    if (year) {
        row.SetYear(year->c_str());
    }
    if (comment) {
        row.SetComment(comment->c_str());
    }
    if (genre) {
        row.SetGenre(*genre);
    }
}

TagsTab::TagsTab(QObject* window)
    : albumText(new kit::TextControl(tr("Album:"), QString())),
      artistText(new kit::TextControl(tr("Artist:"), QString())),
      songTitleText(new kit::TextControl(tr("Song Title:"), QString())),
      commentText(new kit::TextControl(tr("Comment:"), QString())),
      yearText(new kit::TextControl(tr("Year:"), QString())),
      genrePopUp(new kit::PopUp(tr("Genre:"), {})), applyAlbumCheck(new QCheckBox(tr("Album"))),
      applyCommentCheck(new QCheckBox(tr("Comment"))),
      applyArtistCheck(new QCheckBox(tr("Artist"))), applyYearCheck(new QCheckBox(tr("Year"))),
      applySongTitleCheck(new QCheckBox(tr("Song Title"))),
      applyGenreCheck(new QCheckBox(tr("Genre"))) {
    auto* yearRow = Tight(new QHBoxLayout);
    yearRow->addWidget(yearText);
    yearRow->addWidget(Spacer(10, 10));
    yearRow->addWidget(genrePopUp, 1);
    yearRow->addWidget(Spacer(10, 10));
    auto* fields = Tight(new QVBoxLayout);
    for (QWidget* field : {albumText, artistText, songTitleText, commentText}) {
        fields->addWidget(field);
    }
    fields->addLayout(yearRow);

    // The six boxes share one width, so the two columns line up.
    const std::array ticks{applyAlbumCheck, applyCommentCheck,   applyArtistCheck,
                           applyYearCheck,  applySongTitleCheck, applyGenreCheck};
    int widest = 0;
    for (QCheckBox* box : ticks) {
        widest = std::max(widest, box->sizeHint().width());
    }
    auto* choices = Tight(new QVBoxLayout);
    for (auto [left, right] : {std::pair{applyAlbumCheck, applyCommentCheck},
                               std::pair{applyArtistCheck, applyYearCheck},
                               std::pair{applySongTitleCheck, applyGenreCheck}}) {
        left->setMinimumWidth(widest);
        right->setMinimumWidth(widest);
        choices->addWidget(kit::HGroup({left, right}));
    }
    // "Apply Tags" has nothing to do until a tag is ticked.
    QPushButton* apply = CommandButton(tr("Apply Tags"), MSG_APPLY_TAGS, window);
    const auto enableApply = [apply, ticks] {
        apply->setEnabled(std::any_of(ticks.begin(), ticks.end(),
                                      [](const QCheckBox* box) { return box->isChecked(); }));
    };
    for (QCheckBox* box : ticks) {
        connect(box, &QCheckBox::toggled, apply, enableApply);
    }
    enableApply();
    choices->addWidget(apply);
    onlyApplyFrame = kit::Border(3, 3, tr("Only Apply These ID3 Tags"), choices);

    auto* row = Tight(new QHBoxLayout);
    row->addLayout(fields, 1);
    row->addWidget(onlyApplyFrame, 0, Qt::AlignTop);
    auto* page = Tight(new QVBoxLayout);
    page->addLayout(row);
    page->addStretch(1);
    auto* frame = new QVBoxLayout(this);
    frame->setContentsMargins(0, 0, 0, 0);
    frame->addWidget(kit::Border(0, 10, QString(), page));

    kit::DivideSame({yearText, artistText, albumText, songTitleText, commentText});
    for (kit::TextControl* field : {artistText, albumText, songTitleText, commentText}) {
        field->SetByteLimit(kTagTextBytes);
    }
    yearText->SetByteLimit(kTagYearBytes);
    FillGenres(*genrePopUp->Menu());
    genrePopUp->MarkItem(-1);
}

void TagsTab::FillGenres(QComboBox& menu) {
    for (const char* name : genre_table_sorted) {
        menu.addItem(QString::fromLatin1(name));
    }
}

void TagsTab::Show(const char* artist, const char* album, const char* comment,
                   const char* songTitle, const char* year, int genre) const {
    artistText->SetText(QString::fromUtf8(artist));
    albumText->SetText(QString::fromUtf8(album));
    commentText->SetText(QString::fromUtf8(comment));
    songTitleText->SetText(QString::fromUtf8(songTitle));
    genrePopUp->MarkItem(genre >= 0 && genre < genre_count
                             ? GetGenreSortedIndex(genre_table[static_cast<size_t>(genre)])
                             : -1);
    yearText->SetText(QString::fromUtf8(year));
}

TagEdits TagsTab::Edits() const {
    const auto text = [](const QCheckBox* box, const kit::TextControl* field) {
        return box->isChecked() ? std::optional(field->Text().toStdString()) : std::nullopt;
    };
    TagEdits edits{text(applyArtistCheck, artistText),       text(applyAlbumCheck, albumText),
                   text(applySongTitleCheck, songTitleText), text(applyYearCheck, yearText),
                   text(applyCommentCheck, commentText),     std::nullopt};
    // The genre number is the name's place in the table by number, not in the menu.
    const QString genre = genrePopUp->MarkedLabel();
    if (applyGenreCheck->isChecked() && !genre.isEmpty()) {
        edits.genre = GetGenreIndex(genre.toLatin1().constData());
    }
    return edits;
}
