// SPDX-License-Identifier: GPL-3.0-or-later
// The audio CD flow below the window: scanning for CDs, the tracks a chosen CD gives the list,
// reading a disc into the cache with its progress and damage, naming a disc's rows by the
// look-up, and clearing the cache of read discs. The flow does the disc and network work away
// from its thread and decides what follows; its owner asks the user what the flow leaves to
// them (damaged tracks, a release among several, clearing the cache) and paints. Every report
// reaches the hooks on the flow's thread, as values, and none arrives once the flow is gone.
#pragma once

#include "cdaudio/AudioCd.h"
#include "cdaudio/DiscCache.h"
#include "cdaudio/DiscReader.h"
#include "lookup/DiscLookupService.h"

#include <QObject>
#include <QThreadPool>
#include <cstdint>
#include <filesystem>
#include <functional>
#include <memory>
#include <optional>
#include <string>
#include <vector>

class DiscReadWorker;
namespace kit {
class Messenger;
}

// One track file a CD gives the list.
struct CdTrack {
    std::filesystem::path path;
    int32_t track = -1;         // -1 when the file tells no track number
    int32_t damagedSectors = 0; // sectors not read exactly; 0 for a track read whole
    bool operator==(const CdTrack&) const = default;
};

// What a CD gives the list: its tracks in track order, the artist and album its rows get, and
// the disc to look up (none when a folder's disc is not known yet: the drive is then asked).
struct CdTracks {
    std::vector<CdTrack> tracks;
    ArtistAlbum tags;
    std::optional<DiscInfo> disc;
    std::string device;
};

// How a disc read ended.
struct DiscReadEnd {
    bool stopped = false;
    CdTracks whole;                    // the tracks read whole, also those before an error
    std::vector<DamagedTrack> damaged; // in track order, with those that could not be read
    std::string error;                 // why reading failed; empty when it did not

    // Whether some damaged tracks were read to their end and could join the list as they are.
    [[nodiscard]] bool HasDamagedFiles() const;
    // The tracks read whole and the damaged ones read to their end, in track order.
    [[nodiscard]] CdTracks WithDamaged() const;
};

// What a look-up's answer does to a disc's rows.
struct ReleaseDecision {
    enum class Kind { KeepNames, Apply, Ask };
    Kind kind = Kind::KeepNames;
    size_t release = 0; // the release to apply
};
// One release names the rows; among several the one chosen before does; "None of these" chosen
// before keeps the names; otherwise the user is asked.
ReleaseDecision DecideRelease(const DiscLookupAnswer& answer);

// A disc's rows, by their identities, and the disc they were looked up as.
struct DiscRows {
    std::shared_ptr<const DiscSource> disc;
    std::vector<int64_t> rows;
};

class DiscFlow {
public:
    class Hooks {
    public:
        // A scan found these CDs; `problem` says why drives could not be asked (empty when
        // they could). Only the newest scan reports.
        virtual void CdsFound(const std::vector<AudioCd>& cds, const std::string& problem) = 0;
        // The tracks of a CD whose folder holds them.
        virtual void TracksListed(const CdTracks& tracks) = 0;
        virtual void ReadProgressed(const DiscReadProgress& progress) = 0;
        virtual void ReadEnded(const DiscReadEnd& end) = 0;
        // The rows are of this disc; their look-up follows.
        virtual void DiscKnown(const DiscRows& rows) = 0;
        // One line for the status area: where the names came from, or what went wrong.
        virtual void LookupStatus(const QString& status) = 0;
        // This release names the rows.
        virtual void ReleaseFound(const DiscRows& rows, const ReleaseNames& release,
                                  NameSource source) = 0;
        // Several releases hold the disc; Choose() takes the user's answer.
        virtual void ReleaseChoiceNeeded(const DiscRows& rows, const DiscLookupAnswer& answer) = 0;
        // The front cover of the release `releaseId` (or why there is none) for these rows.
        virtual void CoverArrived(const std::vector<int64_t>& rows, const std::string& releaseId,
                                  const CoverArt& cover) = 0;
        // What the cache holds, asked for by MeasureCache.
        virtual void CacheMeasured(const std::filesystem::path& cache,
                                   const DiscCacheUsage& usage) = 0;
        // What stayed in the cache after ClearCache (discs being read by another program).
        virtual void CacheCleared(const DiscCacheUsage& left) = 0;

    protected:
        ~Hooks() = default;
    };
    using LookupFactory =
        std::function<std::unique_ptr<DiscLookupService>(const LookupSettings& settings)>;

    // `lookupFactory` makes the look-up when a disc first wants names; the default loads the
    // look-up module.
    explicit DiscFlow(Hooks& owner, LookupFactory lookupFactory = {});
    // Stops a read and waits for it and for the drives being asked.
    ~DiscFlow();
    DiscFlow(const DiscFlow&) = delete;
    DiscFlow& operator=(const DiscFlow&) = delete;

    // Looks for audio CDs on a thread of its own: drives can take seconds to answer. A newer
    // scan supersedes the one running.
    void Scan();

    // A CD chosen in the pop-up: its folder's tracks are listed, or the disc is read into the
    // cache. False when a read already goes on, so nothing starts.
    bool Choose(const AudioCd& cd);
    [[nodiscard]] bool Reading() const { return readRun >= 0; }
    // Asks the read to stop; its end (stopped) follows.
    void StopRead();
    // Stands in for a drive's damage in the reads that start from now on (see DriveFaults).
    void SetDriveFaults(DriveFaults driveFaults);

    // Gives the disc to a CD's new rows and looks them up; without the disc, the drive
    // `tracks.device` is asked for it first, away from this thread.
    void NameRows(const CdTracks& tracks, std::vector<int64_t> rows,
                  const LookupSettings& settings);
    // Looks the rows of a disc up; `refresh` asks the services anew.
    void LookUp(const DiscRows& rows, bool refresh, const LookupSettings& settings);
    // The user's answer to ReleaseChoiceNeeded: the index of the release, or -1 for none. It
    // is remembered for the disc.
    void ChooseRelease(const DiscRows& rows, const DiscLookupAnswer& answer, int index);
    // Fetches the release's front cover for the rows.
    void FetchCover(const ReleaseNames& release, std::vector<int64_t> rows);

    // Measures the cache of read discs (false, and nothing measured, while a disc is read).
    bool MeasureCache();
    // Clears the cache (false while a disc is read).
    bool ClearCache();

private:
    void ListTracks(const AudioCd& cd);
    // The look-up with these settings; null, with the status said, when it cannot be made.
    DiscLookupService* Lookup(const LookupSettings& settings);
    // Runs `work` on the pool and `then` with its result on this thread.
    template <typename Result>
    void OffThread(std::function<Result()> work, std::function<void(const Result&)> then);

    Hooks& hooks;
    LookupFactory makeLookup;
    QObject context; // the thread the reports come back to
    std::shared_ptr<kit::Messenger> messenger;
    std::unique_ptr<DiscReadWorker> reader;
    DriveFaults faults;
    int32_t scan = 0;
    int32_t readRun = -1; // the read whose end is awaited; -1 when none
    std::string readDevice;
    std::unique_ptr<DiscLookupService> lookup;
    // Lists folders, asks drives for discs and measures the cache; waited for when destroyed.
    QThreadPool pool;
};
