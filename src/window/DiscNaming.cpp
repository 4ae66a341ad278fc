// Names for the rows of an audio CD without typing: the window's side of the disc look-up. The
// look-up runs asynchronously; its answer finds the rows again by their identity, and touches
// only those still in the list and not encoded yet.
#include "cdaudio/DiscReader.h"
#include "cdaudio/DiscSourceRead.h"
#include "filelist/FileListView.h"
#include "lookup/LoadDiscLookup.h"
#include "window/ReleaseChooser.h"
#include "window/VambleWindow.h"

#include <QCheckBox>
#include <QLabel>
#include <algorithm>
#include <map>

namespace {

QString DiscName(const DiscSource& disc) {
    return disc.cdText.title.empty() ? QStringLiteral("Audio CD")
                                     : QString::fromStdString(disc.cdText.title);
}

} // namespace

std::array<VambleWindow::FlagSetting, 2> VambleWindow::LookupFlags() const {
    return {FlagSetting{"LookUpDiscs", true, lookupOnlineCheck},
            FlagSetting{"EmbedCoverArt", true, embedCoverCheck}};
}

LookupSettings VambleWindow::CurrentLookupSettings() const {
    return {lookupOnlineCheck->isChecked(), gnudbEmailText->Text().trimmed().toStdString(),
            DiscCacheFolder()};
}

void VambleWindow::NameDiscRows(const std::string& device, std::vector<int64_t> rows) {
    if (device.empty() || rows.empty()) {
        return;
    }
    discSourceReads.start([this, device, rows, reply = messenger] {
        std::optional<DiscSource> read = ReadDiscSource(device);
        if (!read) {
            return;
        }
        PreloadDiscLookup(); // loading it takes tens of milliseconds, better spent here
        auto disc = std::make_shared<const DiscSource>(std::move(*read));
        reply->Invoke([this, disc, rows] {
            for (const int64_t id : rows) {
                if (AudioItem* row = FindRow(id)) {
                    row->disc = disc;
                }
            }
            LookUpDisc(disc, rows, false);
        });
    });
}

void VambleWindow::LookUpDisc(const std::shared_ptr<const DiscSource>& disc,
                              std::vector<int64_t> rows, bool refresh) {
    if (!disc || rows.empty()) {
        return;
    }
    if (!discLookup) {
        LoadedDiscLookup loaded = LoadDiscLookup(CurrentLookupSettings());
        if (!loaded.service) {
            ShowLookupStatus(loaded.failure);
            return;
        }
        discLookup = std::move(loaded.service);
    }
    discLookup->SetSettings(CurrentLookupSettings());
    ShowLookupStatus(tr("Looking up the disc…"));
    discLookup->LookUp({*disc, refresh},
                       [this, disc, rows = std::move(rows)](const DiscLookupAnswer& answer) {
                           DiscAnswered(disc, rows, answer);
                       });
}

void VambleWindow::LookUpAgain() {
    // The selected rows of each disc, not encoded yet.
    std::map<std::shared_ptr<const DiscSource>, std::vector<int64_t>> discs;
    for (int32_t i = 0; i < fileList->CountItems(); ++i) {
        const auto* row = dynamic_cast<const AudioItem*>(fileList->ItemAt(i));
        if (row && row->disc && !row->done && fileList->IsItemSelected(i)) {
            discs[row->disc].push_back(row->Id());
        }
    }
    for (auto& [disc, rows] : discs) {
        LookUpDisc(disc, std::move(rows), true);
    }
}

void VambleWindow::DiscAnswered(const std::shared_ptr<const DiscSource>& disc,
                                const std::vector<int64_t>& rows, const DiscLookupAnswer& answer) {
    ShowLookupStatus(answer.status);
    const std::vector<ReleaseNames>& releases = answer.releases;
    if (releases.empty()) {
        return; // the rows keep the names they have
    }
    if (releases.size() == 1) {
        ApplyRelease(*disc, rows, releases.front(), answer.source);
        return;
    }
    // The user chose among these releases before.
    const std::string& chosen = answer.chosenReleaseId;
    if (chosen == kNoRelease) {
        return;
    }
    const auto earlier =
        std::find_if(releases.begin(), releases.end(),
                     [&chosen](const ReleaseNames& r) { return r.releaseId == chosen; });
    if (earlier != releases.end()) {
        ApplyRelease(*disc, rows, *earlier, answer.source);
        return;
    }
    auto* chooser =
        new ReleaseChooser(this, DiscName(*disc), releases, [this, disc, rows, answer](int index) {
            const bool none = index < 0 || index >= static_cast<int>(answer.releases.size());
            discLookup->RememberChoice(
                answer.discId, none ? std::string(kNoRelease)
                                    : answer.releases[static_cast<size_t>(index)].releaseId);
            if (none) {
                ShowLookupStatus(tr("No release chosen: the rows keep their names"));
            } else {
                ApplyRelease(*disc, rows, answer.releases[static_cast<size_t>(index)],
                             answer.source);
            }
        });
    chooser->open();
}

void VambleWindow::ApplyRelease(const DiscSource& disc, const std::vector<int64_t>& rows,
                                const ReleaseNames& release, NameSource source) {
    for (const int64_t id : rows) {
        AudioItem* row = FindRow(id);
        if (row && !row->done) {
            row->SetReleaseNames(release, release.Track(disc.Position(row->track)));
        }
    }
    // The tag fields follow the selected row; output names may use the new names.
    const auto* selected =
        dynamic_cast<const AudioItem*>(fileList->ItemAt(fileList->CurrentSelection()));
    if (selected) {
        const ID3_struct& tag = selected->tag;
        FillInMp3Tags(tag.artist, tag.album, tag.comment, tag.title, tag.year, tag.genre);
    }
    ScheduleOutputCheck();
    if (source == NameSource::MusicBrainz && embedCoverCheck->isChecked()) {
        discLookup->FetchFrontCover(
            release, [this, rows, releaseId = release.releaseId](const CoverArt& cover) {
                if (!cover.failure.isEmpty()) {
                    ShowLookupStatus(cover.failure);
                }
                if (cover.image.isEmpty()) {
                    return;
                }
                for (const int64_t id : rows) {
                    AudioItem* row = FindRow(id);
                    if (row && !row->done && row->release.releaseId == releaseId) {
                        row->release.frontCover = cover.image;
                        row->release.coverMimeType = cover.mimeType.toStdString();
                    }
                }
            });
    }
}

void VambleWindow::ShowLookupStatus(const QString& text) {
    // A run or a disc read owns the status line while it goes on.
    if (!IsEncoding() && cdReadRun < 0) {
        encodingFileText->setText(text);
    }
}
