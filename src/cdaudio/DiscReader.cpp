#include "cdaudio/DiscReader.h"

#include "cdaudio/CdioDisc.h"
#include "cdaudio/TrackWav.h"
#include "kit/Attributes.h"

#include <QCryptographicHash>
#include <QStandardPaths>
#include <algorithm>
#include <cdio/paranoia/cdda.h>
#include <cdio/paranoia/paranoia.h>
#include <cerrno>
#include <cstdio>
#include <fstream>
#include <system_error>
#include <vector>

namespace {

constexpr lsn_t kSectorsPerSecond = 75;
constexpr size_t kFramesPerSector = CDIO_CD_FRAMESIZE_RAW / 4; // two 16-bit samples a frame
// paranoia's retries of a failing sector before it gives up on verifying it (its own default).
constexpr int kParanoiaRetries = 20;
// Low-level reads failing one after another before the track is given up as unreadable.
constexpr int kFailedReadsToGiveUp = 20;

struct DriveCloser {
    void operator()(cdrom_drive_t* drive) const { cdio_cddap_close_no_free_cdio(drive); }
};
struct ParanoiaFreer {
    void operator()(cdrom_paranoia_t* paranoia) const { cdio_paranoia_free(paranoia); }
};
using DrivePtr = std::unique_ptr<cdrom_drive_t, DriveCloser>;
using ParanoiaPtr = std::unique_ptr<cdrom_paranoia_t, ParanoiaFreer>;

struct TrackSpan {
    track_t number;
    lsn_t first;
    lsn_t last;
    [[nodiscard]] lsn_t Sectors() const { return last - first + 1; }
};

// Sits between paranoia and the drive's low-level reads. On a stop, or once reads keep failing,
// it fails every further read as "no medium", the one error on which paranoia returns at once
// instead of retrying without end. paranoia's hook takes no context, so the guard of the reading
// thread is found through a thread-local pointer.
class ReadGuard {
public:
    ReadGuard(cdrom_drive_t* guarded, const std::atomic<bool>& stopRequest)
        : drive(guarded), stop(stopRequest), read(guarded->read_audio) {
        current = this;
        drive->read_audio = &ReadGuard::GuardedRead;
    }
    ~ReadGuard() {
        drive->read_audio = read;
        current = nullptr;
    }
    ReadGuard(const ReadGuard&) = delete;
    ReadGuard& operator=(const ReadGuard&) = delete;

    void StartTrack() { failedReads = 0; }

private:
    static long GuardedRead(cdrom_drive_t* drive, void* buffer, lsn_t begin, long sectors) {
        ReadGuard* guard = current;
        if (guard->stop || guard->failedReads >= kFailedReadsToGiveUp) {
            errno = ENOMEDIUM;
            return -1;
        }
        const long got = guard->read(drive, buffer, begin, sectors);
        guard->failedReads = got < sectors ? guard->failedReads + 1 : 0;
        return got;
    }

    static thread_local ReadGuard* current;

    cdrom_drive_t* drive;
    const std::atomic<bool>& stop;
    long (*read)(cdrom_drive_t*, void*, lsn_t, long);
    int failedReads = 0;
};

thread_local ReadGuard* ReadGuard::current = nullptr;

void IgnoreParanoiaEvent(long /*position*/, paranoia_cb_mode_t /*event*/) {}

// A name for the disc that two discs share only when their tables of contents are the same.
std::string DiscIdentity(CdIo_t* cdio) {
    const track_t first = cdio_get_first_track_num(cdio);
    const track_t last = cdio_get_last_track_num(cdio);
    std::string toc = std::to_string(first) + ' ' + std::to_string(last);
    for (track_t track = first; track <= last; ++track) {
        toc += ' ' + std::to_string(cdio_get_track_lsn(cdio, track)) + ':' +
               std::to_string(cdio_get_track_format(cdio, track));
    }
    toc += ' ' + std::to_string(cdio_get_track_lsn(cdio, CDIO_CDROM_LEADOUT_TRACK));
    const QByteArray hash =
        QCryptographicHash::hash(QByteArray::fromStdString(toc), QCryptographicHash::Sha1);
    return hash.toHex().left(20).toStdString();
}

std::vector<TrackSpan> AudioTracks(CdIo_t* cdio, cdrom_drive_t* drive) {
    std::vector<TrackSpan> tracks;
    const track_t first = cdio_get_first_track_num(cdio);
    const track_t last = cdio_get_last_track_num(cdio);
    if (first == CDIO_INVALID_TRACK || last == CDIO_INVALID_TRACK) {
        return tracks;
    }
    for (track_t track = first; track <= last; ++track) {
        if (cdio_cddap_track_audiop(drive, track) == 1) {
            tracks.push_back({track, cdio_cddap_track_firstsector(drive, track),
                              cdio_cddap_track_lastsector(drive, track)});
        }
    }
    return tracks;
}

std::string TrackFileName(track_t track) {
    char name[32];
    std::snprintf(name, sizeof name, "Track %02d.wav", static_cast<int>(track));
    return name;
}

bool IsWhole(const std::filesystem::path& file, const TrackSpan& track) {
    return CdWavFrameCount(file) ==
           static_cast<int64_t>(track.Sectors()) * static_cast<int64_t>(kFramesPerSector);
}

std::string WriteError(track_t track, const std::string& why) {
    return "Cannot write track " + std::to_string(track) + ": " + why;
}

enum class TrackOutcome { Read, Stopped, Failed };

class DiscRead {
public:
    DiscRead(cdrom_drive_t* openDrive, const std::atomic<bool>& stopRequest,
             const DiscReadProgressFunction& report)
        : drive(openDrive), stop(stopRequest), progress(report) {}

    // Reads the tracks that are not whole yet into the folder.
    DiscReadResult Run(const std::vector<TrackSpan>& tracks,
                       const std::filesystem::path& discFolder, DiscReadResult result);

private:
    TrackOutcome ReadTrack(const TrackSpan& track, const std::filesystem::path& partFile,
                           std::string& error);
    void Report(const TrackSpan& track, lsn_t sectorsDoneInTrack);

    cdrom_drive_t* drive;
    const std::atomic<bool>& stop;
    const DiscReadProgressFunction& progress;
    ParanoiaPtr paranoia;
    int32_t trackIndex = 0;
    int32_t trackCount = 0;
    int64_t sectorsDone = 0;
    int64_t sectorsTotal = 0;
};

void DiscRead::Report(const TrackSpan& track, lsn_t sectorsDoneInTrack) {
    if (!progress) {
        return;
    }
    const double fraction = sectorsTotal > 0
                                ? static_cast<double>(sectorsDone + sectorsDoneInTrack) /
                                      static_cast<double>(sectorsTotal)
                                : 1.0;
    progress({track.number, trackIndex, trackCount, fraction});
}

TrackOutcome DiscRead::ReadTrack(const TrackSpan& track, const std::filesystem::path& partFile,
                                 std::string& error) {
    TrackWavWriter writer(partFile);
    if (!writer.Error().empty()) {
        error = WriteError(track.number, writer.Error());
        return TrackOutcome::Failed;
    }
    cdio_paranoia_seek(paranoia.get(), track.first, SEEK_SET);
    for (lsn_t sector = track.first; sector <= track.last; ++sector) {
        if ((sector - track.first) % kSectorsPerSecond == 0) {
            Report(track, sector - track.first);
        }
        if (stop) {
            return TrackOutcome::Stopped;
        }
        const int16_t* samples =
            cdio_paranoia_read_limited(paranoia.get(), &IgnoreParanoiaEvent, kParanoiaRetries);
        if (stop) {
            return TrackOutcome::Stopped;
        }
        if (samples == nullptr) {
            error = "Cannot read track " + std::to_string(track.number) + " of the disc.";
            return TrackOutcome::Failed;
        }
        if (!writer.Write(samples, kFramesPerSector)) {
            error = WriteError(track.number, writer.Error());
            return TrackOutcome::Failed;
        }
    }
    if (!writer.Finish()) {
        error = WriteError(track.number, writer.Error());
        return TrackOutcome::Failed;
    }
    return TrackOutcome::Read;
}

DiscReadResult DiscRead::Run(const std::vector<TrackSpan>& tracks,
                             const std::filesystem::path& discFolder, DiscReadResult result) {
    std::vector<TrackSpan> toRead;
    for (const TrackSpan& track : tracks) {
        if (!IsWhole(result.folder / TrackFileName(track.number), track)) {
            toRead.push_back(track);
            sectorsTotal += track.Sectors();
        }
    }
    trackCount = static_cast<int32_t>(toRead.size());
    if (toRead.empty()) {
        return result;
    }
    paranoia.reset(cdio_paranoia_init(drive));
    if (!paranoia) {
        result.error = "Cannot read audio from the disc.";
        return result;
    }
    cdio_paranoia_modeset(paranoia.get(), PARANOIA_MODE_FULL ^ PARANOIA_MODE_NEVERSKIP);
    ReadGuard guard(drive, stop);
    for (const TrackSpan& track : toRead) {
        ++trackIndex;
        guard.StartTrack();
        const std::string name = TrackFileName(track.number);
        const std::filesystem::path partFile = discFolder / (name + ".part");
        const TrackOutcome outcome = ReadTrack(track, partFile, result.error);
        std::error_code error;
        if (outcome == TrackOutcome::Read) {
            // The track number goes with the file; a file system without attributes still has
            // it in the file's name.
            kit::WriteInt32Attribute(partFile, "Audio:Track", track.number);
            std::filesystem::rename(partFile, result.folder / name, error);
            if (error) {
                result.error = WriteError(track.number, error.message());
            }
        }
        if (outcome != TrackOutcome::Read || error) {
            std::filesystem::remove(partFile, error);
            result.stopped = outcome == TrackOutcome::Stopped;
            return result;
        }
        sectorsDone += track.Sectors();
    }
    return result;
}

} // namespace

std::filesystem::path DiscCacheFolder() {
    const QString cache = QStandardPaths::writableLocation(QStandardPaths::GenericCacheLocation);
    return std::filesystem::path(cache.toStdString()) / "vamble";
}

DiscReadResult ReadDisc(const std::string& device, const std::filesystem::path& cacheFolder,
                        const std::atomic<bool>& stop, const DiscReadProgressFunction& progress) {
    DiscReadResult result;
    const CdioPtr cdio = OpenCdioDisc(device);
    if (!cdio) {
        result.error = "Cannot open the disc in " + device + ".";
        return result;
    }
    result.name = CdTextName(cdio.get());
    const DrivePtr drive(cdio_cddap_identify_cdio(cdio.get(), CDDA_MESSAGE_FORGETIT, nullptr));
    if (!drive || cdio_cddap_open(drive.get()) != 0) {
        result.error = "Cannot read audio from the disc in " + device + ".";
        return result;
    }
    const std::vector<TrackSpan> tracks = AudioTracks(cdio.get(), drive.get());
    if (tracks.empty()) {
        result.error = "The disc in " + device + " has no audio tracks.";
        return result;
    }

    const std::filesystem::path discFolder = cacheFolder / DiscIdentity(cdio.get());
    const std::filesystem::path tracksFolder = discFolder / "wav";
    const std::filesystem::path marker = discFolder / "complete";
    std::error_code error;
    std::filesystem::create_directories(tracksFolder, error);
    if (error) {
        result.error = "Cannot create the folder " + tracksFolder.string() + ": " + error.message();
        return result;
    }
    result.folder = tracksFolder;

    const bool whole = std::all_of(tracks.begin(), tracks.end(), [&](const TrackSpan& track) {
        return IsWhole(tracksFolder / TrackFileName(track.number), track);
    });
    if (whole && std::filesystem::exists(marker, error)) {
        return result;
    }
    std::filesystem::remove(marker, error);

    result = DiscRead(drive.get(), stop, progress).Run(tracks, discFolder, std::move(result));
    if (result.Complete()) {
        std::ofstream(marker) << result.name << '\n';
    }
    return result;
}
