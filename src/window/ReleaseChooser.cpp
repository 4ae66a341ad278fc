// SPDX-License-Identifier: GPL-3.0-or-later
#include "window/ReleaseChooser.h"

#include <QDialogButtonBox>
#include <QLabel>
#include <QPushButton>
#include <QTreeWidget>
#include <QVBoxLayout>

namespace {

QString Text(const std::string& text) {
    return QString::fromStdString(text);
}

// A release's labels or catalogue numbers in one cell.
QString Text(const std::vector<std::string>& values) {
    QStringList texts;
    for (const std::string& value : values) {
        texts.append(Text(value));
    }
    return texts.join(QStringLiteral(" / "));
}

} // namespace

ReleaseChooser::ReleaseChooser(QWidget* parent, const QString& discName,
                               const std::vector<ReleaseNames>& releases,
                               std::function<void(int)> chosen)
    : QDialog(parent), list(new QTreeWidget), tracks(new QLabel) {
    setWindowTitle(tr("Choose the Release"));
    setAttribute(Qt::WA_DeleteOnClose);
    setWindowModality(Qt::WindowModal);

    list->setRootIsDecorated(false);
    list->setAllColumnsShowFocus(true);
    list->setHeaderLabels({tr("Title"), tr("Artist"), tr("Date"), tr("Country"), tr("Label"),
                           tr("Catalogue Number"), tr("Barcode"), tr("Tracks"), tr("Format")});
    // The list owns its items.
    // NOLINTBEGIN(clang-analyzer-cplusplus.NewDeleteLeaks)
    for (const ReleaseNames& release : releases) {
        auto* item = new QTreeWidgetItem(
            list,
            {Text(release.title), Text(release.artist), Text(release.date), Text(release.country),
             Text(release.labels), Text(release.catalogNumbers), Text(release.barcode),
             QString::number(release.trackCount), Text(release.format)});
        // "Deluxe Edition" and the like tell releases of one title apart.
        const QString title =
            release.disambiguation.empty()
                ? Text(release.title)
                : QStringLiteral("%1 (%2)").arg(Text(release.title), Text(release.disambiguation));
        item->setText(
            0,
            release.discCount > 1
                ? tr("%1 (disc %2 of %3)").arg(title).arg(release.discNumber).arg(release.discCount)
                : title);
    }
    // NOLINTEND(clang-analyzer-cplusplus.NewDeleteLeaks)
    list->setCurrentItem(list->topLevelItem(0));
    // Wide enough for every column, so that no line needs scrolling.
    int width = 0;
    for (int column = 0; column < list->columnCount(); ++column) {
        list->resizeColumnToContents(column);
        width += list->columnWidth(column);
    }
    list->setMinimumWidth(width + 2 * list->frameWidth());

    auto* buttons = new QDialogButtonBox;
    QPushButton* use = buttons->addButton(tr("Use This Release"), QDialogButtonBox::AcceptRole);
    buttons->addButton(tr("None of these"), QDialogButtonBox::RejectRole);
    use->setDefault(true);
    connect(buttons, &QDialogButtonBox::accepted, this, &QDialog::accept);
    connect(buttons, &QDialogButtonBox::rejected, this, &QDialog::reject);
    connect(list, &QTreeWidget::itemDoubleClicked, this, &QDialog::accept);

    auto* layout = new QVBoxLayout(this);
    layout->addWidget(
        new QLabel(tr("Several releases hold the disc “%1”. Which is yours?").arg(discName)));
    layout->addWidget(list, 1);
    // The selected release's track titles, which tell editions with other tracks apart.
    tracks->setWordWrap(true);
    tracks->setTextInteractionFlags(Qt::TextSelectableByMouse);
    layout->addWidget(tracks);
    layout->addWidget(buttons);
    const auto showTracks = [this, releases] {
        const int row = list->currentIndex().row();
        QStringList titles;
        if (row >= 0 && row < static_cast<int>(releases.size())) {
            for (const TrackNames& track : releases[static_cast<size_t>(row)].tracks) {
                titles << QStringLiteral("%1. %2").arg(track.position).arg(Text(track.title));
            }
        }
        tracks->setText(titles.isEmpty()
                            ? QString()
                            : tr("Tracks: %1").arg(titles.join(QStringLiteral(" · "))));
    };
    connect(list, &QTreeWidget::currentItemChanged, this, showTracks);
    showTracks();
    resize(sizeHint().width(), 260);

    connect(this, &QDialog::finished, this, [this, chosen = std::move(chosen)](int result) {
        const QModelIndex current = list->currentIndex();
        chosen(result == QDialog::Accepted && current.isValid() ? current.row() : -1);
    });
}
