// SPDX-License-Identifier: GPL-3.0-or-later
// Names for the rows of an audio CD without typing: the window's side of the disc look-up. The
// look-up runs asynchronously; its answer finds the rows again by their identity, and touches
// only those still in the list and not encoded yet.
#include "cdaudio/AudioDisc.h"
#include "cdaudio/DiscCache.h"
#include "filelist/FileListView.h"
#include "lookup/LookupModule.h"
#include "window/ReleaseChooser.h"
#include "window/VambleWindow.h"

#include <QCheckBox>
#include <QLabel>
#include <algorithm>
#include <map>

namespace {

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

LookupSettings VambleWindow::CurrentLookupSettings() const {
    return {lookupOnlineCheck->isChecked(), gnudbEmailText->Text().trimmed().toStdString(),
            DiscCacheFolder()};
}

void VambleWindow::NameDiscRows(const std::optional<DiscInfo>& disc, const std::string& device,
                                std::vector<int64_t> rows) {
    if ((!disc && device.empty()) || rows.empty()) {
        return;
    }
    // A disc that a mount presents as a folder may not have been asked for its table of contents.
    discSourceReads.start([this, known = disc, device, rows, reply = messenger] {
        const std::optional<DiscInfo> info = known ? known : ProbeAudioDisc(device);
        std::optional<DiscSource> source = info ? DiscSourceOf(*info) : std::nullopt;
        if (!source) {
            return;
        }
        PreloadDiscLookup(); // loading it takes tens of milliseconds, better spent here
        auto shared = std::make_shared<const DiscSource>(std::move(*source));
        reply->Invoke([this, shared, rows] {
            for (const int64_t id : rows) {
                if (AudioItem* row = FindRow(id)) {
                    row->disc = shared;
                }
            }
            LookUpDisc(shared, rows, false);
        });
    });
}

void VambleWindow::LookUpDisc(const std::shared_ptr<const DiscSource>& disc,
                              std::vector<int64_t> rows, bool refresh) {
    if (!disc || rows.empty()) {
        return;
    }
    const LookupSettings settings = CurrentLookupSettings();
    if (discLookup) {
        discLookup->SetSettings(settings);
    } else {
        discLookup = CreateDiscLookup(settings);
        if (!discLookup) {
            ShowLookupStatus(tr("Discs cannot be looked up: the program's part that looks them up "
                                "cannot be loaded."));
            return;
        }
    }
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
    if (discs.empty()) {
        ShowLookupStatus(tr("Look Up Again looks up the selected rows of a CD that are not "
                            "encoded yet; none are selected."));
        return;
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
    auto* chooser = new ReleaseChooser(
        this, DiscName(*disc, releases), releases, [this, disc, rows, answer](int index) {
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
    // Output names may use the new names.
    ShowSelectedTags();
    ScheduleOutputCheck();
    if (source == NameSource::MusicBrainz && embedCoverCheck->isChecked()) {
        // A row encoded before the cover comes says so in its warning.
        for (const int64_t id : rows) {
            if (AudioItem* row = FindRow(id); row && !row->done) {
                row->release.frontCoverComing = true;
            }
        }
        discLookup->FetchFrontCover(
            release, [this, rows, releaseId = release.releaseId](const CoverArt& cover) {
                if (!cover.failure.isEmpty()) {
                    ShowLookupStatus(cover.failure);
                }
                for (const int64_t id : rows) {
                    AudioItem* row = FindRow(id);
                    if (row && row->release.releaseId == releaseId) {
                        row->release.frontCoverComing = false;
                        if (!row->done && !cover.image.isEmpty()) {
                            row->release.frontCover =
                                CoverPicture{cover.mimeType.toStdString(), cover.image};
                        }
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
