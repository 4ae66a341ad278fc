// SPDX-License-Identifier: GPL-3.0-or-later
#include "disc/DiscFlow.h"

#include "cdaudio/AudioCdLister.h"
#include "cdaudio/AudioDisc.h"
#include "cdaudio/DiscReadWorker.h"
#include "cdaudio/TrackFiles.h"
#include "kit/Messenger.h"
#include "lookup/LookupModule.h"

#include <QCoreApplication>
#include <algorithm>

namespace {

// The tracks in track order, the damaged ones with their damage.
std::vector<CdTrack> InTrackOrder(const std::vector<TrackFile>& whole,
                                  const std::vector<DamagedTrack>& damaged) {
    std::vector<TrackFile> files = whole;
    for (const DamagedTrack& track : damaged) {
        files.push_back({track.file, track.track});
    }
    SortByTrack(files);
    std::vector<CdTrack> tracks;
    for (const TrackFile& file : files) {
        const auto hurt = std::find_if(damaged.begin(), damaged.end(),
                                       [&](const DamagedTrack& d) { return d.file == file.path; });
        tracks.push_back({file.path, file.track, hurt != damaged.end() ? hurt->sectors : 0});
    }
    return tracks;
}

std::vector<TrackFile> TrackFilesIn(const std::filesystem::path& folder) {
    return folder.empty() ? std::vector<TrackFile>{}
                          : ListTrackFiles(folder).value_or(std::vector<TrackFile>{});
}

// The damaged tracks that were read to their end.
std::vector<DamagedTrack> ReadToEnd(const std::vector<DamagedTrack>& damaged) {
    std::vector<DamagedTrack> files;
    std::copy_if(damaged.begin(), damaged.end(), std::back_inserter(files),
                 [](const DamagedTrack& track) { return !track.file.empty(); });
    return files;
}

} // namespace

bool DiscReadEnd::HasDamagedFiles() const {
    return !ReadToEnd(damaged).empty();
}

CdTracks DiscReadEnd::WithDamaged() const {
    CdTracks all = whole;
    std::vector<TrackFile> files;
    for (const CdTrack& track : whole.tracks) {
        files.push_back({track.path, track.track});
    }
    all.tracks = InTrackOrder(files, ReadToEnd(damaged));
    return all;
}

ReleaseDecision DecideRelease(const DiscLookupAnswer& answer) {
    const std::vector<ReleaseNames>& releases = answer.releases;
    if (releases.size() == 1) {
        return {ReleaseDecision::Kind::Apply, 0};
    }
    if (releases.empty() || answer.chosenReleaseId == kNoRelease) {
        return {};
    }
    const auto earlier = std::find_if(releases.begin(), releases.end(), [&](const ReleaseNames& r) {
        return r.releaseId == answer.chosenReleaseId;
    });
    if (earlier != releases.end()) {
        return {ReleaseDecision::Kind::Apply, static_cast<size_t>(earlier - releases.begin())};
    }
    return {ReleaseDecision::Kind::Ask, 0};
}

DiscFlow::DiscFlow(Hooks& owner, LookupFactory lookupFactory)
    : hooks(owner), makeLookup(lookupFactory ? std::move(lookupFactory) : CreateDiscLookup),
      messenger(std::make_shared<kit::Messenger>(&context)) {}

DiscFlow::~DiscFlow() {
    messenger->Clear();
    reader.reset();
    pool.waitForDone();
}

template <typename Result>
void DiscFlow::OffThread(std::function<Result()> work, std::function<void(const Result&)> then) {
    pool.start([work = std::move(work), then = std::move(then), reply = messenger] {
        reply->Invoke([result = work(), then] { then(result); });
    });
}

void DiscFlow::Scan() {
    const int32_t number = ++scan;
    FindAudioCdsInBackground([this, number, reply = messenger](const std::vector<AudioCd>& cds,
                                                               const std::string& problem) {
        reply->Invoke([this, number, cds, problem] {
            if (number == scan) { // not superseded by a rescan
                hooks.CdsFound(cds, problem);
            }
        });
    });
}

bool DiscFlow::Choose(const AudioCd& cd) {
    if (Reading()) {
        return false;
    }
    if (!cd.NeedsReading()) {
        ListTracks(cd);
        return true;
    }
    if (cd.device.empty()) {
        return false;
    }
    if (!reader) {
        DiscReadWorker::Reports reports{
            [this, reply = messenger](int32_t run, const DiscReadProgress& progress) {
                reply->Invoke([this, run, progress] {
                    if (run == readRun) {
                        hooks.ReadProgressed(progress);
                    }
                });
            },
            [this, reply = messenger](int32_t run, const DiscReadResult& result) {
                reply->Invoke([this, run, result] {
                    if (run != readRun) {
                        return;
                    }
                    readRun = -1;
                    DiscReadEnd end{result.stopped,
                                    {InTrackOrder(TrackFilesIn(result.folder), {}),
                                     result.disc.Tags(), result.disc, readDevice},
                                    result.damaged,
                                    result.error};
                    hooks.ReadEnded(end);
                });
            }};
        reader = std::make_unique<DiscReadWorker>(std::move(reports), faults);
    }
    readRun = reader->Start(cd.device, DiscCacheFolder());
    readDevice = cd.device;
    return Reading();
}

void DiscFlow::StopRead() {
    if (reader) {
        reader->Stop();
    }
}

void DiscFlow::SetDriveFaults(DriveFaults driveFaults) {
    faults = std::move(driveFaults);
    if (!Reading()) {
        reader.reset();
    }
}

void DiscFlow::ListTracks(const AudioCd& cd) {
    OffThread<CdTracks>(
        [cd] {
            return CdTracks{InTrackOrder(TrackFilesIn(cd.folder), {}), cd.tags, cd.disc, cd.device};
        },
        [this](const CdTracks& tracks) { hooks.TracksListed(tracks); });
}

void DiscFlow::NameRows(const CdTracks& tracks, std::vector<int64_t> rows,
                        const LookupSettings& settings) {
    if ((!tracks.disc && tracks.device.empty()) || rows.empty()) {
        return;
    }
    // A disc that a mount presents as a folder may not have been asked for its table of contents.
    OffThread<std::shared_ptr<const DiscSource>>(
        [known = tracks.disc, device = tracks.device]() -> std::shared_ptr<const DiscSource> {
            const std::optional<DiscInfo> info = known ? known : ProbeAudioDisc(device);
            std::optional<DiscSource> source = info ? DiscSourceOf(*info) : std::nullopt;
            if (!source) {
                return nullptr;
            }
            PreloadDiscLookup(); // loading it takes tens of milliseconds, better spent here
            return std::make_shared<const DiscSource>(std::move(*source));
        },
        [this, rows = std::move(rows), settings](const std::shared_ptr<const DiscSource>& disc) {
            if (disc) {
                const DiscRows named{disc, rows};
                hooks.DiscKnown(named);
                LookUp(named, false, settings);
            }
        });
}

DiscLookupService* DiscFlow::Lookup(const LookupSettings& settings) {
    if (lookup) {
        lookup->SetSettings(settings);
    } else if (lookup = makeLookup(settings); !lookup) {
        hooks.LookupStatus(QCoreApplication::translate(
            "DiscFlow", "Discs cannot be looked up: the program's part that looks them up "
                        "cannot be loaded."));
    }
    return lookup.get();
}

void DiscFlow::LookUp(const DiscRows& rows, bool refresh, const LookupSettings& settings) {
    if (!rows.disc || rows.rows.empty()) {
        return;
    }
    DiscLookupService* service = Lookup(settings);
    if (service == nullptr) {
        return;
    }
    hooks.LookupStatus(QCoreApplication::translate("DiscFlow", "Looking up the disc…"));
    service->LookUp({*rows.disc, refresh}, [this, rows](const DiscLookupAnswer& answer) {
        hooks.LookupStatus(answer.status);
        const ReleaseDecision decision = DecideRelease(answer);
        switch (decision.kind) {
        case ReleaseDecision::Kind::KeepNames:
            break;
        case ReleaseDecision::Kind::Apply:
            hooks.ReleaseFound(rows, answer.releases[decision.release], answer.source);
            break;
        case ReleaseDecision::Kind::Ask:
            hooks.ReleaseChoiceNeeded(rows, answer);
            break;
        }
    });
}

void DiscFlow::ChooseRelease(const DiscRows& rows, const DiscLookupAnswer& answer, int index) {
    const bool none = index < 0 || static_cast<size_t>(index) >= answer.releases.size();
    if (lookup) {
        lookup->RememberChoice(answer.discId,
                               none ? std::string(kNoRelease)
                                    : answer.releases[static_cast<size_t>(index)].releaseId);
    }
    if (none) {
        hooks.LookupStatus(QCoreApplication::translate(
            "DiscFlow", "No release chosen: the rows keep their names"));
    } else {
        hooks.ReleaseFound(rows, answer.releases[static_cast<size_t>(index)], answer.source);
    }
}

void DiscFlow::FetchCover(const ReleaseNames& release, std::vector<int64_t> rows) {
    if (!lookup) {
        return;
    }
    lookup->FetchFrontCover(release, [this, rows = std::move(rows),
                                      releaseId = release.releaseId](const CoverArt& cover) {
        hooks.CoverArrived(rows, releaseId, cover);
    });
}

bool DiscFlow::MeasureCache() {
    if (Reading()) {
        return false;
    }
    // The cache may be large, or on a slow disk.
    OffThread<DiscCacheUsage>(
        [cache = DiscCacheFolder()] { return MeasureDiscCache(cache); },
        [this](const DiscCacheUsage& usage) { hooks.CacheMeasured(DiscCacheFolder(), usage); });
    return true;
}

bool DiscFlow::ClearCache() {
    if (Reading()) {
        return false;
    }
    OffThread<DiscCacheUsage>([cache = DiscCacheFolder()] { return ClearDiscCache(cache); },
                              [this](const DiscCacheUsage& left) { hooks.CacheCleared(left); });
    return true;
}
