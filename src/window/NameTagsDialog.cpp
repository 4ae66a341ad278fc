// SPDX-License-Identifier: GPL-3.0-or-later
#include "window/NameTagsDialog.h"

#include <QDialogButtonBox>
#include <QFile>
#include <QHeaderView>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QTableWidget>
#include <QVBoxLayout>

namespace {

enum Column { kFileColumn, kTrackColumn, kTitleColumn, kArtistColumn, kAlbumColumn, kYearColumn };

QTableWidgetItem* Cell(const QString& text) {
    auto* cell = new QTableWidgetItem(text);
    cell->setFlags(Qt::ItemIsEnabled);
    return cell;
}

} // namespace

NameTagsDialog::NameTagsDialog(std::vector<Row> selected, const QString& pattern, QWidget* parent)
    : QDialog(parent), rows(std::move(selected)), patternText(new QLineEdit(pattern)),
      summary(new QLabel), preview(new QTableWidget(static_cast<int>(rows.size()), 6)) {
    setWindowTitle(tr("Tags from File Names"));
    auto* patternLabel = new QLabel(tr("&Pattern:"));
    patternLabel->setBuddy(patternText);
    // The example has a line of its own: a pattern broken at its spaces or slashes reads as two.
    auto* codes = new QLabel(tr("%t track, %a artist, %s title, %c album, %y year; "
                                "\"/\" reads the folder above, as in:\n%1")
                                 .arg(QStringLiteral("%a/%c/%t - %s")));
    codes->setTextFormat(Qt::PlainText);
    codes->setWordWrap(true);

    preview->setHorizontalHeaderLabels(
        {tr("File"), tr("Track"), tr("Title"), tr("Artist"), tr("Album"), tr("Year")});
    preview->verticalHeader()->hide();
    for (const int column : {kTitleColumn, kArtistColumn, kAlbumColumn}) {
        preview->horizontalHeader()->setSectionResizeMode(column, QHeaderView::Stretch);
    }
    for (const int column : {kTrackColumn, kYearColumn}) {
        preview->horizontalHeader()->setSectionResizeMode(column, QHeaderView::ResizeToContents);
    }
    preview->setSelectionMode(QAbstractItemView::NoSelection);
    preview->setAccessibleName(tr("Preview"));
    for (int row = 0; row < preview->rowCount(); ++row) {
        const std::filesystem::path& file = rows[static_cast<size_t>(row)].file;
        auto* name = Cell(QFile::decodeName(file.filename().c_str()));
        name->setToolTip(QFile::decodeName(file.c_str()));
        preview->setItem(row, kFileColumn, name);
    }

    auto* buttons = new QDialogButtonBox(QDialogButtonBox::Cancel);
    applyButton = buttons->addButton(tr("Apply"), QDialogButtonBox::AcceptRole);
    applyButton->setDefault(true);
    connect(buttons, &QDialogButtonBox::accepted, this, &QDialog::accept);
    connect(buttons, &QDialogButtonBox::rejected, this, &QDialog::reject);
    connect(patternText, &QLineEdit::textChanged, this, [this] { UpdatePreview(); });

    auto* patternRow = new QHBoxLayout;
    patternRow->addWidget(patternLabel);
    patternRow->addWidget(patternText, 1);
    auto* layout = new QVBoxLayout(this);
    layout->addLayout(patternRow);
    layout->addWidget(codes);
    layout->addWidget(preview, 1);
    layout->addWidget(summary);
    layout->addWidget(buttons);
    resize(640, 360);
    UpdatePreview();
    preview->resizeColumnToContents(kFileColumn);
}

QString NameTagsDialog::Pattern() const {
    return patternText->text();
}

std::vector<NameTagsDialog::Match> NameTagsDialog::Matches() const {
    const FileNameTagPattern pattern(patternText->text().toStdString());
    std::vector<Match> matches;
    for (const Row& row : rows) {
        if (std::optional<FoundTags> found = pattern.Match(row.file)) {
            matches.push_back({row.id, std::move(*found)});
        }
    }
    return matches;
}

void NameTagsDialog::UpdatePreview() {
    const FileNameTagPattern pattern(patternText->text().toStdString());
    int matched = 0;
    for (int row = 0; row < preview->rowCount(); ++row) {
        const std::optional<FoundTags> found = pattern.Match(rows[static_cast<size_t>(row)].file);
        matched += found ? 1 : 0;
        const FoundTags tags = found.value_or(FoundTags{});
        const auto text = [](const std::string& value) { return QString::fromStdString(value); };
        preview->setItem(row, kTrackColumn,
                         Cell(tags.track >= 0 ? QString::number(tags.track) : QString()));
        preview->setItem(
            row, kTitleColumn,
            Cell(found || !pattern.Error().empty() ? text(tags.title) : tr("(no match)")));
        preview->setItem(row, kArtistColumn, Cell(text(tags.artist)));
        preview->setItem(row, kAlbumColumn, Cell(text(tags.album)));
        preview->setItem(row, kYearColumn, Cell(text(tags.year)));
    }
    summary->setText(!pattern.Error().empty()
                         ? QString::fromStdString(pattern.Error())
                         : (rows.size() == 1 ? tr("%1 of %2 file matches.")
                                             : tr("%1 of %2 files match; Apply sets "
                                                  "their tags, the others stay as "
                                                  "they are."))
                               .arg(matched)
                               .arg(rows.size()));
    applyButton->setEnabled(matched > 0);
}
