// SPDX-License-Identifier: GPL-3.0-or-later
// The "Get Files from CD:" pop-up: listing the audio CDs, adding a chosen CD's tracks, and
// reading a disc that no mount presents as a folder, with its progress in the status area; and
// the cache such discs are read into.
#include "cdaudio/AudioCdLister.h"
#include "cdaudio/DiscCache.h"
#include "cdaudio/DiscReadWorker.h"
#include "cdaudio/TrackFiles.h"
#include "cdaudio/VolumeName.h"
#include "filelist/FileListView.h"
#include "window/VambleWindow.h"
#include "window/WindowMessages.h"

#include <QComboBox>
#include <QFile>
#include <QLabel>
#include <QLocale>
#include <QMessageBox>
#include <QPointer>
#include <QPushButton>
#include <QThreadPool>
#include <algorithm>
#include <cstdio>
#include <functional>
#include <iterator>

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
QString DamageNote(const DamagedTrack& track) {
    return VambleWindow::tr(
               "Read from the CD with %1 sectors (%2 s) that could not be read exactly.")
        .arg(track.sectors)
        .arg(Seconds(track.sectors));
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

// The artist and album of a CD's rows: its own fields where it has them, else its name split.
ArtistAlbum CdTags(const kit::Message& volume, const std::string& name) {
    ArtistAlbum tags;
    if (volume.Find("Album", &tags.album) == kit::B_OK) {
        volume.Find("Artist", &tags.artist);
        return tags;
    }
    return SplitVolumeName(name);
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
    FindAudioCdsInBackground(messenger, ++cdScan);
}

void VambleWindow::ShowFoundCDs(const kit::Message& found) {
    int32_t scan = -1;
    if (found.Find("scan", &scan) != kit::B_OK || scan != cdScan) {
        return; // a scan that a rescan has replaced
    }
    QComboBox* menu = cdPopUp->Menu();
    // Adding to an empty pop-up would mark the first item; the mark stays as it was.
    const int marked = cdPopUp->MarkedIndex();
    kit::Message volume;
    for (int32_t i = 0; found.Find("cd", i, &volume) == kit::B_OK; ++i) {
        std::string label;
        volume.Find("Volume", &label);
        volume.what = MSG_CD_VOLUME;
        // The item keeps the message itself: its paths are bytes, not text.
        menu->addItem(QString::fromStdString(label), QVariant::fromValue(volume));
    }
    cdPopUp->MarkItem(marked);
    // Said where the user looks for CDs, and in the status area.
    std::string problem;
    if (found.Find("problem", &problem) == kit::B_OK) {
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
    int32_t deviceNumber = 0;
    std::string name;
    if (volume.Find("dev_t", &deviceNumber) != kit::B_OK ||
        volume.Find("Volume", &name) != kit::B_OK) {
        return;
    }
    const ArtistAlbum tags = CdTags(volume, name);
    std::string device;
    volume.Find("Device", &device);
    kit::EntryRef folder;
    if (volume.Find("Folder", &folder) == kit::B_OK && !folder.path.empty()) {
        kit::Message disc;
        AddCDTracks(folder.path, tags, {},
                    volume.Find("Disc", &disc) == kit::B_OK ? DiscInfo::From(disc) : std::nullopt,
                    device);
        return;
    }
    if (device.empty() || ReadingCD()) {
        return;
    }
    // Reading and encoding share the status area and the Stop button.
    if (IsEncoding() || startingRun) {
        ShowAlert(tr("The CD can be read once encoding has finished or is stopped."));
        return;
    }
    if (!cdReader) {
        cdReader = std::make_unique<DiscReadWorker>(this);
    }
    cdReadRun = cdReader->Start(device, DiscCacheFolder());
    if (ReadingCD()) {
        SetCDReading(true);
    }
}

void VambleWindow::AddCDTracks(const std::filesystem::path& folder, const ArtistAlbum& tags,
                               const std::vector<DamagedTrack>& damaged,
                               const std::optional<DiscInfo>& disc, const std::string& device) {
    std::vector<TrackFile> tracks = ListTrackFiles(folder).value_or(std::vector<TrackFile>{});
    for (const DamagedTrack& track : damaged) {
        tracks.push_back({track.file, track.track});
    }
    SortByTrack(tracks);
    std::vector<int64_t> added;
    for (const TrackFile& track : tracks) {
        AudioItem* row = fileList->AddEntry(track.path, track.track);
        if (row == nullptr) {
            continue;
        }
        added.push_back(row->Id());
        if (!tags.album.empty()) {
            row->SetAlbum(tags.album.c_str());
        }
        if (!tags.artist.empty()) {
            row->SetArtist(tags.artist.c_str());
        }
        const auto hurt = std::find_if(damaged.begin(), damaged.end(),
                                       [&](const DamagedTrack& d) { return d.file == track.path; });
        if (hurt != damaged.end()) {
            row->SetSourceDamage(DamageNote(*hurt).toStdString());
            fileList->InvalidateItem(fileList->IndexOf(row));
        }
    }
    NameDiscRows(disc, device, std::move(added));
}

void VambleWindow::SetCDReading(bool reading) {
    ShowRunning(reading);
    cdPopUp->setEnabled(!reading);
    progressBar->SetFraction(0.0f);
    encodingFileText->setText(reading ? tr("Reading CD…") : tr("Encoding File: "));
}

void VambleWindow::ShowCDReadProgress(const kit::Message& progress) {
    int32_t run = -1;
    int32_t track = 0;
    int32_t index = 0;
    int32_t count = 0;
    double fraction = 0.0;
    bool waiting = false;
    if (progress.Find("run", &run) != kit::B_OK || run != cdReadRun ||
        progress.Find("fraction", &fraction) != kit::B_OK) {
        return;
    }
    progress.Find("track", &track);
    progress.Find("index", &index);
    progress.Find("count", &count);
    progress.Find("waiting", &waiting);
    progressBar->SetFraction(static_cast<float>(fraction));
    encodingFileText->setText(
        waiting ? tr("Waiting for another reading of this CD…")
                : tr("Reading CD track %1 (%2 of %3)").arg(track).arg(index).arg(count));
}

void VambleWindow::FinishCDRead(const kit::Message& message) {
    const std::optional<DiscReadDone> done = DiscReadDone::From(message);
    if (!done || done->run != cdReadRun) {
        return;
    }
    cdReadRun = -1;
    SetCDReading(false);
    if (done->stopped) {
        return;
    }
    QString report = DamageReport(done->damaged);
    if (!done->error.empty()) {
        report += (report.isEmpty() ? QString() : QStringLiteral("\n\n")) +
                  QString::fromStdString(done->error);
    }
    std::vector<DamagedTrack> readToEnd;
    std::copy_if(done->damaged.begin(), done->damaged.end(), std::back_inserter(readToEnd),
                 [](const DamagedTrack& track) { return !track.file.empty(); });
    if (readToEnd.empty()) {
        // After a read error the tracks read whole before it are added all the same.
        AddCDTracks(done->folder, done->tags, {}, done->disc, done->device);
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
        tr("Add Anyway"), tr("Leave Out"), [this, done = *done, readToEnd](bool add) {
            AddCDTracks(done.folder, done.tags, add ? readToEnd : std::vector<DamagedTrack>{},
                        done.disc, done.device);
        });
}

void VambleWindow::StopCDRead() {
    if (cdReader) {
        cdReader->Stop();
    }
}

void VambleWindow::ClearCDCache() {
    if (ReadingCD()) {
        ShowAlert(tr("The CD cache can be cleared once the CD has been read."));
        return;
    }
    // The cache is looked at off the window's thread: it may be large, or on a slow disk.
    const std::filesystem::path cache = DiscCacheFolder();
    QThreadPool::globalInstance()->start([cache, window = QPointer<VambleWindow>(this)] {
        const DiscCacheUsage usage = MeasureDiscCache(cache);
        // NOLINTBEGIN(clang-analyzer-cplusplus.NewDeleteLeaks)
        QMetaObject::invokeMethod(
            qApp,
            [window, cache, usage] {
                if (window) {
                    window->AskToClearCDCache(cache, usage);
                }
            },
            Qt::QueuedConnection);
        // NOLINTEND(clang-analyzer-cplusplus.NewDeleteLeaks)
    });
}

void VambleWindow::AskToClearCDCache(const std::filesystem::path& cache,
                                     const DiscCacheUsage& usage) {
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
    Ask(this, text, tr("Clear"), tr("Cancel"), [this, cache](bool clear) {
        if (!clear || ReadingCD()) {
            return;
        }
        QThreadPool::globalInstance()->start([cache, window = QPointer<VambleWindow>(this)] {
            const DiscCacheUsage left = ClearDiscCache(cache);
            // NOLINTBEGIN(clang-analyzer-cplusplus.NewDeleteLeaks)
            QMetaObject::invokeMethod(
                qApp,
                [window, left] {
                    if (window && left.discs > 0) {
                        window->ShowAlert(
                            tr("%1 being read by another program stayed in the cache.")
                                .arg(CdCount(left.discs)));
                    }
                },
                Qt::QueuedConnection);
            // NOLINTEND(clang-analyzer-cplusplus.NewDeleteLeaks)
        });
    });
}
