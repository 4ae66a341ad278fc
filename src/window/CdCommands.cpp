// SPDX-License-Identifier: GPL-3.0-or-later
// The window's side of the audio CD flow: the "Get Files from CD:" pop-up, the rows a CD gives,
// a disc's reading in the status area, the questions about damaged tracks, releases and the
// cache, and the names a look-up finds. The flow (disc/DiscFlow.h) does the work and decides;
// its answers find the rows again by their identity and touch only those still in the list and
// not encoded yet.
#include "cdaudio/AudioCdLister.h"
#include "filelist/FileListView.h"
#include "window/ReleaseChooser.h"
#include "window/SettingsTab.h"
#include "window/VambleWindow.h"
#include "window/WindowMessages.h"

#include <QCheckBox>
#include <QComboBox>
#include <QFile>
#include <QLabel>
#include <QLocale>
#include <QMessageBox>
#include <QPushButton>
#include <algorithm>
#include <cstdio>
#include <functional>
#include <map>

namespace {

constexpr double kSectorsPerSecond = 75.0;

// "1 CD", "2 CDs": `one` and `many` are whole translated texts with the number as %1, so a
// language may place it where it belongs.
QString Count(int32_t count, const QString& one, const QString& many) {
    return (count == 1 ? one : many).arg(count);
}

QString CdCount(int32_t count) {
    return Count(count, VambleWindow::tr("%1 CD"), VambleWindow::tr("%1 CDs"));
}

QString Seconds(int32_t sectors) {
    return QLocale().toString(sectors / kSectorsPerSecond, 'f', 1);
}

// What is wrong with a damaged track, for its row's mark.
QString DamageNote(int32_t sectors) {
    return VambleWindow::tr(
               "Read from the CD with %1 sectors (%2 s) that could not be read exactly.")
        .arg(sectors)
        .arg(Seconds(sectors));
}

// One line per track that was not read whole.
QString DamageReport(const std::vector<DamagedTrack>& damaged) {
    QStringList lines;
    for (const DamagedTrack& track : damaged) {
        lines << (track.file.empty()
                      ? VambleWindow::tr("Track %1 could not be read.").arg(track.track)
                      : VambleWindow::tr("Track %1: %2 sectors (%3 s) could not be read exactly.")
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

// A window-modal question titled "Alert" with two buttons, the second one the default and the
// answer to Escape; `answered` learns whether the first was chosen (closing the question is no).
void Ask(QWidget* window, const QString& text, const QString& yes, const QString& no,
         std::function<void(bool)> answered) {
    auto* question = new QMessageBox(QMessageBox::Question, VambleWindow::tr("Alert"), text,
                                     QMessageBox::NoButton, window);
    QPushButton* accept = question->addButton(yes, QMessageBox::AcceptRole);
    QPushButton* reject = question->addButton(no, QMessageBox::RejectRole);
    question->setDefaultButton(reject);
    question->setEscapeButton(reject);
    question->setAttribute(Qt::WA_DeleteOnClose);
    question->setWindowModality(Qt::WindowModal);
    QObject::connect(question, &QMessageBox::finished, window,
                     [question, accept, answered = std::move(answered)] {
                         answered(question->clickedButton() == accept);
                     });
    question->open();
}

} // namespace

void VambleWindow::CheckForCDs() {
    std::printf("Checking CD.\n");
    std::fflush(stdout);
    discs->Scan();
}

void VambleWindow::CdsFound(const std::vector<AudioCd>& cds, const std::string& problem) {
    QComboBox* menu = cdPopUp->Menu();
    // Adding to an empty pop-up would mark the first item; the mark stays as it was.
    const int marked = cdPopUp->MarkedIndex();
    for (const AudioCd& cd : cds) {
        // The item keeps the message itself: its paths are bytes, not text.
        menu->addItem(QString::fromStdString(cd.label),
                      QVariant::fromValue(AudioCdMessage(cd, MSG_CD_VOLUME)));
    }
    cdPopUp->MarkItem(marked);
    // Said where the user looks for CDs, and in the status area.
    if (!problem.empty()) {
        cdPopUp->setToolTip(QString::fromStdString(problem));
        encodingFileText->setText(QString::fromStdString(problem));
    }
}

void VambleWindow::SendCDVolume(int index) {
    const QVariant item = cdPopUp->Menu()->itemData(index);
    if (item.canConvert<kit::Message>()) {
        kit::PostMessage(this, item.value<kit::Message>());
    }
}

void VambleWindow::RescanCDs() {
    // Removes the items and the label the last choice left.
    cdPopUp->Menu()->clear();
    CheckForCDs();
}

void VambleWindow::GetFilesFromCD(const kit::Message& volume) {
    const std::optional<AudioCd> cd = AudioCdFromMessage(volume);
    if (!cd || discs->Reading()) {
        return;
    }
    // Reading and encoding share the status area and the Stop button.
    if (cd->NeedsReading() && (IsEncoding() || startingRun)) {
        ShowAlert(tr("The CD can be read once encoding has finished or is stopped."));
        return;
    }
    if (discs->Choose(*cd) && cd->NeedsReading()) {
        SetCDReading(true);
    }
}

void VambleWindow::AddCDTracks(const CdTracks& tracks) {
    std::vector<int64_t> added;
    for (const CdTrack& track : tracks.tracks) {
        AudioItem* row = fileList->AddEntry(track.path, track.track);
        if (row == nullptr) {
            continue;
        }
        added.push_back(row->Id());
        if (!tracks.tags.album.empty()) {
            row->SetAlbum(tracks.tags.album.c_str());
        }
        if (!tracks.tags.artist.empty()) {
            row->SetArtist(tracks.tags.artist.c_str());
        }
        if (track.damagedSectors > 0) {
            row->SetSourceDamage(DamageNote(track.damagedSectors).toStdString());
            fileList->InvalidateItem(fileList->IndexOf(row));
        }
    }
    discs->NameRows(tracks, std::move(added), CurrentLookupSettings());
}

void VambleWindow::TracksListed(const CdTracks& tracks) {
    AddCDTracks(tracks);
}

void VambleWindow::SetCDReading(bool reading) {
    ShowRunning(reading);
    cdPopUp->setEnabled(!reading);
    progressBar->SetFraction(0.0f);
    encodingFileText->setText(reading ? tr("Reading CD…") : tr("Encoding File: "));
}

void VambleWindow::ReadProgressed(const DiscReadProgress& progress) {
    progressBar->SetFraction(static_cast<float>(progress.fraction));
    encodingFileText->setText(progress.waiting ? tr("Waiting for another reading of this CD…")
                                               : tr("Reading CD track %1 (%2 of %3)")
                                                     .arg(progress.track)
                                                     .arg(progress.trackIndex)
                                                     .arg(progress.trackCount));
}

void VambleWindow::ReadEnded(const DiscReadEnd& end) {
    SetCDReading(false);
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
        AddCDTracks(end.whole);
        if (!report.isEmpty()) {
            ShowAlert(report);
        }
        return;
    }
    // Damaged audio joins the list only when the user asks for it; a later read tries again.
    Ask(this,
        report + QStringLiteral("\n\n") +
            tr("Choose the CD again to read them again, or add the damaged "
               "tracks as they are."),
        tr("Add Anyway"), tr("Leave Out"),
        [this, end](bool add) { AddCDTracks(add ? end.WithDamaged() : end.whole); });
}

void VambleWindow::ClearCDCache() {
    if (!discs->MeasureCache()) {
        ShowAlert(tr("The CD cache can be cleared once the CD has been read."));
    }
}

void VambleWindow::CacheMeasured(const std::filesystem::path& cache, const DiscCacheUsage& usage) {
    if (!usage.refused.empty()) {
        ShowAlert(tr("The CD cache cannot be used: %1").arg(QString::fromStdString(usage.refused)));
        return;
    }
    if (usage.bytes == 0 && usage.discs == 0) {
        ShowAlert(tr("The CD cache is empty."));
        return;
    }
    const std::string inside = cache.native() + '/';
    int32_t rowsUsing = 0;
    for (int32_t i = 0; i < fileList->CountItems(); ++i) {
        const auto* row = dynamic_cast<const AudioItem*>(fileList->ItemAt(i));
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
    Ask(this, text, tr("Clear"), tr("Cancel"), [this](bool clear) {
        if (clear) {
            discs->ClearCache();
        }
    });
}

void VambleWindow::CacheCleared(const DiscCacheUsage& left) {
    if (left.discs > 0) {
        ShowAlert(
            tr("%1 being read by another program stayed in the cache.").arg(CdCount(left.discs)));
    }
}

LookupSettings VambleWindow::CurrentLookupSettings() const {
    return {options->lookupOnlineCheck->isChecked(),
            options->gnudbEmailText->Text().trimmed().toStdString(), DiscCacheFolder()};
}

void VambleWindow::DiscKnown(const DiscRows& rows) {
    for (const int64_t id : rows.rows) {
        if (AudioItem* row = FindRow(id)) {
            row->disc = rows.disc;
        }
    }
}

void VambleWindow::LookUpAgain() {
    // The selected rows of each disc, not encoded yet.
    std::map<std::shared_ptr<const DiscSource>, std::vector<int64_t>> selected;
    for (int32_t i = 0; i < fileList->CountItems(); ++i) {
        const auto* row = dynamic_cast<const AudioItem*>(fileList->ItemAt(i));
        if (row && row->disc && !row->done && fileList->IsItemSelected(i)) {
            selected[row->disc].push_back(row->Id());
        }
    }
    if (selected.empty()) {
        LookupStatus(tr("Look Up Again looks up the selected rows of a CD that are not "
                        "encoded yet; none are selected."));
        return;
    }
    for (auto& [disc, rows] : selected) {
        discs->LookUp({disc, std::move(rows)}, true, CurrentLookupSettings());
    }
}

void VambleWindow::ReleaseChoiceNeeded(const DiscRows& rows, const DiscLookupAnswer& answer) {
    auto* chooser = new ReleaseChooser(
        this, DiscName(*rows.disc, answer.releases), answer.releases,
        [this, rows, answer](int index) { discs->ChooseRelease(rows, answer, index); });
    chooser->open();
}

void VambleWindow::ReleaseFound(const DiscRows& rows, const ReleaseNames& release,
                                NameSource source) {
    for (const int64_t id : rows.rows) {
        AudioItem* row = FindRow(id);
        if (row && !row->done) {
            row->SetReleaseNames(release, release.Track(rows.disc->Position(row->track)));
        }
    }
    // Output names may use the new names.
    ShowSelectedTags();
    ScheduleOutputCheck();
    if (source == NameSource::MusicBrainz && options->embedCoverCheck->isChecked()) {
        // A row encoded before the cover comes says so in its warning.
        for (const int64_t id : rows.rows) {
            if (AudioItem* row = FindRow(id); row && !row->done) {
                row->release.frontCoverComing = true;
            }
        }
        discs->FetchCover(release, rows.rows);
    }
}

void VambleWindow::CoverArrived(const std::vector<int64_t>& rows, const std::string& releaseId,
                                const CoverArt& cover) {
    if (!cover.failure.isEmpty()) {
        LookupStatus(cover.failure);
    }
    for (const int64_t id : rows) {
        AudioItem* row = FindRow(id);
        if (row && row->release.releaseId == releaseId) {
            row->release.frontCoverComing = false;
            if (!row->done && !cover.image.isEmpty()) {
                row->release.frontCover = CoverPicture{cover.mimeType.toStdString(), cover.image};
            }
        }
    }
}

void VambleWindow::LookupStatus(const QString& text) {
    // A run or a disc read owns the status line while it goes on.
    if (!IsEncoding() && !discs->Reading()) {
        encodingFileText->setText(text);
    }
}
