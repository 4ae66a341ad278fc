// SPDX-License-Identifier: GPL-3.0-or-later
#include "window/CdView.h"

#include "cdaudio/AudioCdLister.h"
#include "filelist/FileListView.h"
#include "kit/ElidedLabel.h"
#include "lookup/DiscSource.h"
#include "window/Alerts.h"
#include "window/ReleaseChooser.h"
#include "window/SettingsTab.h"
#include "window/WindowMessages.h"

#include <QComboBox>
#include <QFile>
#include <QLocale>
#include <algorithm>
#include <cstdio>
#include <map>
#include <optional>

namespace {

constexpr double kSectorsPerSecond = 75.0;

// "1 CD", "2 CDs": `one` and `many` are whole translated texts with the number as %1, so a
// language may place it where it belongs.
QString Count(int32_t count, const QString& one, const QString& many) {
    return (count == 1 ? one : many).arg(count);
}

QString CdCount(int32_t count) {
    return Count(count, CdView::tr("%1 CD"), CdView::tr("%1 CDs"));
}

QString Seconds(int32_t sectors) {
    return QLocale().toString(sectors / kSectorsPerSecond, 'f', 1);
}

// What is wrong with a damaged track, for its row's mark.
QString DamageNote(int32_t sectors) {
    return CdView::tr("Read from the CD with %1 sectors (%2 s) that could not be read exactly.")
        .arg(sectors)
        .arg(Seconds(sectors));
}

// One line per track that was not read whole.
QString DamageReport(const std::vector<DamagedTrack>& damaged) {
    QStringList lines;
    for (const DamagedTrack& track : damaged) {
        lines << (track.file.empty()
                      ? CdView::tr("Track %1 could not be read.").arg(track.track)
                      : CdView::tr("Track %1: %2 sectors (%3 s) could not be read exactly.")
                            .arg(track.track)
                            .arg(track.sectors)
                            .arg(Seconds(track.sectors)));
    }
    return lines.join(QLatin1Char('\n'));
}

// The disc as the user knows it: by its CD-Text, else by the title its releases share.
QString DiscName(const DiscSource& disc, const std::vector<ReleaseNames>& releases) {
    if (!disc.cdText.title.empty()) {
        return QString::fromStdString(disc.cdText.title);
    }
    const bool shared = !releases.empty() && !releases.front().title.empty() &&
                        std::all_of(releases.begin(), releases.end(), [&](const ReleaseNames& r) {
                            return r.title == releases.front().title;
                        });
    return shared ? QString::fromStdString(releases.front().title) : QStringLiteral("Audio CD");
}

} // namespace

CdView::CdView(WindowParts parts)
    : ui(std::move(parts)), popUp(new kit::PopUp(new kit::CommandMenu, tr("Get Files from CD:"))),
      flow(*this) {
    // Room for a disc's name ("Audio CD" in any language) from the start, also while no disc is
    // in; a longer name is cut in the closed menu and shown whole in the open one, so that it
    // never widens the window.
    constexpr int kDiscNameLength = 14;
    popUp->Menu()->setMinimumContentsLength(kDiscNameLength);
    popUp->Menu()->setSizeAdjustPolicy(QComboBox::AdjustToMinimumContentsLengthWithIcon);
    // Its items act when chosen, so only a deliberate choice may choose one.
    QObject::connect(popUp->Menu(), &QComboBox::activated, ui.window, [this](int index) {
        const QVariant item = popUp->Menu()->itemData(index);
        if (item.canConvert<kit::Message>()) {
            kit::PostMessage(ui.window, item.value<kit::Message>());
        }
    });
}

void CdView::Scan() {
    std::printf("Checking CD.\n");
    std::fflush(stdout);
    flow.Scan();
}

void CdView::CdsFound(const std::vector<AudioCd>& cds, const std::string& problem) {
    QComboBox* menu = popUp->Menu();
    // Adding to an empty pop-up would mark the first item; the mark stays as it was.
    const int marked = popUp->MarkedIndex();
    for (const AudioCd& cd : cds) {
        // The item keeps the message itself: its paths are bytes, not text.
        menu->addItem(QString::fromStdString(cd.label),
                      QVariant::fromValue(AudioCdMessage(cd, MSG_CD_VOLUME)));
    }
    popUp->MarkItem(marked);
    // Said where the user looks for CDs, and in the status area.
    if (!problem.empty()) {
        popUp->setToolTip(QString::fromStdString(problem));
        ui.status->setText(QString::fromStdString(problem));
    }
}

void CdView::Rescan() {
    // Removes the items and the label the last choice left.
    popUp->Menu()->clear();
    Scan();
}

void CdView::Choose(const kit::Message& volume) {
    const std::optional<AudioCd> cd = AudioCdFromMessage(volume);
    if (!cd || flow.Reading()) {
        return;
    }
    // Reading and encoding share the status area and the Stop button.
    if (cd->NeedsReading() && ui.encoding()) {
        ShowAlert(ui.window, tr("The CD can be read once encoding has finished or is stopped."));
        return;
    }
    if (flow.Choose(*cd) && cd->NeedsReading()) {
        ShowReading(true);
    }
}

void CdView::AddTracks(const CdTracks& tracks) {
    std::vector<int64_t> added;
    // Every audio track of the disc counts, also those not added.
    const std::optional<DiscSource> source =
        tracks.disc ? DiscSourceOf(*tracks.disc) : std::nullopt;
    const auto audioTracks = static_cast<int32_t>(source ? source->toc.trackOffsets.size() : 0);
    for (const CdTrack& track : tracks.tracks) {
        AudioItem* row = ui.list->AddEntry(track.path, track.track);
        if (row == nullptr) {
            continue;
        }
        added.push_back(row->Id());
        row->trackCount = audioTracks;
        if (!tracks.tags.album.empty()) {
            row->SetAlbum(tracks.tags.album.c_str());
        }
        if (!tracks.tags.artist.empty()) {
            row->SetArtist(tracks.tags.artist.c_str());
        }
        if (track.damagedSectors > 0) {
            row->SetSourceDamage(DamageNote(track.damagedSectors).toStdString());
            ui.list->InvalidateItem(ui.list->IndexOf(row));
        }
    }
    flow.NameRows(tracks, std::move(added), CurrentLookupSettings());
}

void CdView::TracksListed(const CdTracks& tracks) {
    AddTracks(tracks);
}

void CdView::ShowReading(bool reading) {
    ui.showRunning(reading);
    popUp->setEnabled(!reading);
    ui.bar->SetFraction(0.0f);
    ui.status->setText(reading ? tr("Reading CD…") : tr("Encoding File: "));
}

void CdView::ReadProgressed(const DiscReadProgress& progress) {
    ui.bar->SetFraction(static_cast<float>(progress.fraction));
    ui.status->setText(progress.waiting ? tr("Waiting for another reading of this CD…")
                                        : tr("Reading CD track %1 (%2 of %3)")
                                              .arg(progress.track)
                                              .arg(progress.trackIndex)
                                              .arg(progress.trackCount));
}

void CdView::ReadEnded(const DiscReadEnd& end) {
    ShowReading(false);
    if (end.stopped) {
        return;
    }
    QString report = DamageReport(end.damaged);
    if (!end.error.empty()) {
        report += (report.isEmpty() ? QString() : QStringLiteral("\n\n")) +
                  QString::fromStdString(end.error);
    }
    if (!end.HasDamagedFiles()) {
        // After a read error the tracks read whole before it are added all the same.
        AddTracks(end.whole);
        if (!report.isEmpty()) {
            ShowAlert(ui.window, report);
        }
        return;
    }
    // Damaged audio joins the list only when the user asks for it; a later read tries again.
    Ask(ui.window,
        report + QStringLiteral("\n\n") +
            tr("Choose the CD again to read them again, or add the damaged "
               "tracks as they are."),
        tr("Add Anyway"), tr("Leave Out"),
        [this, end](bool add) { AddTracks(add ? end.WithDamaged() : end.whole); });
}

void CdView::ClearCache() {
    if (!flow.MeasureCache()) {
        ShowAlert(ui.window, tr("The CD cache can be cleared once the CD has been read."));
    }
}

void CdView::CacheMeasured(const std::filesystem::path& cache, const DiscCacheUsage& usage) {
    if (!usage.refused.empty()) {
        ShowAlert(ui.window,
                  tr("The CD cache cannot be used: %1").arg(QString::fromStdString(usage.refused)));
        return;
    }
    if (usage.bytes == 0 && usage.discs == 0) {
        ShowAlert(ui.window, tr("The CD cache is empty."));
        return;
    }
    const std::string inside = cache.native() + '/';
    int32_t rowsUsing = 0;
    for (int32_t i = 0; i < ui.list->CountItems(); ++i) {
        const auto* row = dynamic_cast<const AudioItem*>(ui.list->ItemAt(i));
        rowsUsing += row != nullptr && !row->done && row->ref.path.native().starts_with(inside);
    }
    QString text = tr("The CD cache holds %1 read from %2, in %3.\n\nClear it?")
                       .arg(QLocale().formattedDataSize(usage.bytes), CdCount(usage.discs),
                            QFile::decodeName(cache.c_str()));
    if (rowsUsing > 0) {
        text +=
            QStringLiteral("\n\n") + tr("%1 of the list, not encoded yet, use its files and could "
                                        "not be encoded any more.")
                                         .arg(Count(rowsUsing, tr("%1 row"), tr("%1 rows")));
    }
    Ask(ui.window, text, tr("Clear"), tr("Cancel"), [this](bool clear) {
        if (clear) {
            flow.ClearCache();
        }
    });
}

void CdView::CacheCleared(const DiscCacheUsage& left) {
    if (left.discs > 0) {
        ShowAlert(
            ui.window,
            tr("%1 being read by another program stayed in the cache.").arg(CdCount(left.discs)));
    }
}

LookupSettings CdView::CurrentLookupSettings() const {
    return {ui.options->lookupOnlineCheck->isChecked(),
            ui.options->gnudbEmailText->Text().trimmed().toStdString(), DiscCacheFolder()};
}

void CdView::DiscKnown(const DiscRows& rows) {
    for (const int64_t id : rows.rows) {
        if (AudioItem* row = ui.list->FindRow(id).first) {
            row->disc = rows.disc;
        }
    }
}

void CdView::LookUpAgain() {
    // The selected rows of each disc, not encoded yet.
    std::map<std::shared_ptr<const DiscSource>, std::vector<int64_t>> selected;
    for (int32_t i = 0; i < ui.list->CountItems(); ++i) {
        const auto* row = dynamic_cast<const AudioItem*>(ui.list->ItemAt(i));
        if (row && row->disc && !row->done && ui.list->IsItemSelected(i)) {
            selected[row->disc].push_back(row->Id());
        }
    }
    if (selected.empty()) {
        LookupStatus(tr("Look Up Again looks up the selected rows of a CD that are not "
                        "encoded yet; none are selected."));
        return;
    }
    for (auto& [disc, rows] : selected) {
        flow.LookUp({disc, std::move(rows)}, true, CurrentLookupSettings());
    }
}

void CdView::ReleaseChoiceNeeded(const DiscRows& rows, const DiscLookupAnswer& answer) {
    auto* chooser = new ReleaseChooser(
        ui.window, DiscName(*rows.disc, answer.releases), answer.releases,
        [this, rows, answer](int index) { flow.ChooseRelease(rows, answer, index); });
    chooser->open();
}

void CdView::ReleaseFound(const DiscRows& rows, const ReleaseNames& release, NameSource source) {
    for (const int64_t id : rows.rows) {
        AudioItem* row = ui.list->FindRow(id).first;
        if (row && !row->done) {
            row->SetReleaseNames(release, release.Track(rows.disc->Position(row->track)));
        }
    }
    // Output names may use the new names.
    ui.namesChanged();
    if (source == NameSource::MusicBrainz && ui.options->embedCoverCheck->isChecked()) {
        // A row encoded before the cover comes says so in its warning.
        for (const int64_t id : rows.rows) {
            if (AudioItem* row = ui.list->FindRow(id).first; row && !row->done) {
                row->release.frontCoverComing = true;
            }
        }
        flow.FetchCover(release, rows.rows);
    }
}

void CdView::CoverArrived(const std::vector<int64_t>& rows, const std::string& releaseId,
                          const CoverArt& cover) {
    if (!cover.failure.isEmpty()) {
        LookupStatus(cover.failure);
    }
    for (const int64_t id : rows) {
        AudioItem* row = ui.list->FindRow(id).first;
        if (row && row->release.releaseId == releaseId) {
            row->release.frontCoverComing = false;
            if (!row->done && !cover.image.isEmpty()) {
                row->release.frontCover = CoverPicture{cover.mimeType.toStdString(), cover.image};
            }
        }
    }
}

void CdView::LookupStatus(const QString& text) {
    // A run or a disc read owns the status line while it goes on.
    if (!ui.encoding() && !flow.Reading()) {
        ui.status->setText(text);
    }
}
