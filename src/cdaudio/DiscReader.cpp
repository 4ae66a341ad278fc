// SPDX-License-Identifier: GPL-3.0-or-later
#include "cdaudio/DiscReader.h"

#include "cdaudio/CdModule.h"
#include "cdaudio/CdioDisc.h"
#include "cdaudio/DiscCache.h"
#include "cdaudio/TrackWav.h"
#include "kit/Attributes.h"
#include "kit/OwnFiles.h"

#include <QCoreApplication>
#include <QCryptographicHash>
#include <algorithm>
#include <cdio/paranoia/cdda.h>
#include <cdio/paranoia/paranoia.h>
#include <cerrno>
#include <chrono>
#include <cstdio>
#include <memory>
#include <random>
#include <system_error>
#include <thread>
#include <vector>

namespace fs = std::filesystem;

namespace {

constexpr lsn_t kSectorsPerSecond = 75;
constexpr size_t kFramesPerSector = CDIO_CD_FRAMESIZE_RAW / 4; // two 16-bit samples a frame
// paranoia's retries of a failing sector before it gives up on verifying it (its own default).
constexpr int kParanoiaRetries = 20;
// Low-level reads failing one after another before the track is given up as unreadable.
constexpr int kFailedReadsToGiveUp = 20;
// The audio that tells two discs with the same table of contents apart: a few sectors from the
// middle of the first audio track (its start is often silent on every disc).
constexpr long kIdentitySectors = 8;
// How often a read waiting for another reader of the disc looks again.
constexpr std::chrono::milliseconds kLockPoll{100};

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

// Sits between paranoia and the drive's low-level reads, for the whole reading of a disc. It
// notes which sectors came off the drive and where paranoia gave up verifying (a skip, which
// fills the gap with other data or silence), so that a track with any such sector is known to
// be damaged. On a stop, or once reads keep failing, it fails every further read as "no
// medium", the one error on which paranoia returns at once instead of retrying without end.
// paranoia's hooks take no context, so the watch of the reading thread is found through a
// thread-local pointer.
class DriveWatch {
public:
    DriveWatch(cdrom_drive_t* watched, const std::atomic<bool>& stopRequest,
               const DriveFaults& driveFaults, lsn_t firstSector, lsn_t lastSector)
        : drive(watched), stop(stopRequest), faults(driveFaults), read(watched->read_audio),
          first(firstSector), wasRead(static_cast<size_t>(lastSector - firstSector + 1)),
          skipped(wasRead.size()) {
        current = this;
        drive->read_audio = &DriveWatch::GuardedRead;
    }
    ~DriveWatch() {
        drive->read_audio = read;
        current = nullptr;
    }
    DriveWatch(const DriveWatch&) = delete;
    DriveWatch& operator=(const DriveWatch&) = delete;

    void StartTrack(const TrackSpan& track) {
        reading = track;
        failedReads = 0;
        lost = false;
    }
    // Whether the sector came off the drive at least once.
    [[nodiscard]] bool CameOffDrive(lsn_t sector) const {
        return sector >= first && Index(sector) < wasRead.size() && wasRead[Index(sector)];
    }
    // The sectors of the track that never came off the drive or that paranoia skipped.
    [[nodiscard]] int32_t DamagedSectors(const TrackSpan& track) const {
        int32_t damaged = 0;
        for (lsn_t sector = track.first; sector <= track.last; ++sector) {
            const size_t at = Index(sector);
            damaged += !wasRead[at] || skipped[at] ? 1 : 0;
        }
        return damaged;
    }

    // paranoia's event hook; positions are in 16-bit samples from the start of the disc.
    static void ParanoiaEvent(long position, paranoia_cb_mode_t event) {
        if (event != PARANOIA_CB_SKIP || current == nullptr) {
            return;
        }
        const auto sector = static_cast<lsn_t>(position / CD_FRAMEWORDS);
        current->Mark(current->skipped, sector, 1);
        // Unable to start a track, paranoia skips from the start of the disc instead and would
        // go on without end: the track cannot be read.
        current->lost = current->lost || sector < current->reading.first;
    }

private:
    static long GuardedRead(cdrom_drive_t* drive, void* buffer, lsn_t begin, long sectors) {
        DriveWatch* watch = current;
        if (watch->stop || watch->lost || watch->failedReads >= kFailedReadsToGiveUp) {
            errno = ENOMEDIUM;
            return -1;
        }
        long got = watch->read(drive, buffer, begin, sectors);
        if (watch->faults) {
            // As a drive does, it returns the sectors before the first it cannot read.
            for (long i = 0; i < got; ++i) {
                const SectorFault fault = watch->faults(static_cast<int32_t>(begin + i));
                if (fault == SectorFault::Unreadable) {
                    got = i;
                    break;
                }
                if (fault == SectorFault::Unstable) {
                    auto* bytes = static_cast<unsigned char*>(buffer) + i * CDIO_CD_FRAMESIZE_RAW;
                    std::generate_n(bytes, CDIO_CD_FRAMESIZE_RAW,
                                    [watch] { return static_cast<unsigned char>(watch->noise()); });
                }
            }
            if (got == 0) {
                errno = EIO;
                got = -1;
            }
        }
        // Only the track being read can be given up: paranoia reads ahead, and sectors of the
        // next track that cannot be read are none of this one's business.
        const lsn_t missedFrom = begin + static_cast<lsn_t>(std::max(got, 0L));
        const bool missedTrack = missedFrom < begin + sectors &&
                                 missedFrom <= watch->reading.last &&
                                 begin + sectors > watch->reading.first;
        watch->failedReads = missedTrack ? watch->failedReads + 1 : 0;
        watch->Mark(watch->wasRead, begin, got);
        return got;
    }

    [[nodiscard]] size_t Index(lsn_t sector) const { return static_cast<size_t>(sector - first); }
    void Mark(std::vector<bool>& sectors, lsn_t begin, long count) const {
        const lsn_t end = std::min<lsn_t>(begin + static_cast<lsn_t>(std::max(count, 0L)),
                                          first + static_cast<lsn_t>(sectors.size()));
        for (lsn_t sector = std::max(begin, first); sector < end; ++sector) {
            sectors[Index(sector)] = true;
        }
    }

    static thread_local DriveWatch* current;

    cdrom_drive_t* drive;
    const std::atomic<bool>& stop;
    const DriveFaults& faults;
    std::minstd_rand noise; // what an unstable sector reads as
    long (*read)(cdrom_drive_t*, void*, lsn_t, long);
    TrackSpan reading{0, 0, -1};
    int failedReads = 0;
    bool lost = false;
    lsn_t first;
    std::vector<bool> wasRead;
    std::vector<bool> skipped;
};

thread_local DriveWatch* DriveWatch::current = nullptr;

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

// A few sectors of audio from the middle of the track; empty when they cannot be read.
QByteArray IdentitySample(cdrom_drive_t* drive, const TrackSpan& track) {
    const long sectors = std::min<long>(kIdentitySectors, track.Sectors());
    QByteArray sample(static_cast<qsizetype>(sectors * CDIO_CD_FRAMESIZE_RAW), '\0');
    const lsn_t start = track.first + (track.Sectors() - static_cast<lsn_t>(sectors)) / 2;
    if (cdio_cddap_read(drive, sample.data(), start, sectors) != sectors) {
        return {};
    }
    return sample;
}

// The name of the disc's folder: two discs share it only when their tables of contents and the
// sample of their audio are the same. Without a sample (it could not be read) the table of
// contents alone names it.
std::string DiscIdentity(const DiscInfo& disc, const QByteArray& sample) {
    QCryptographicHash hash(QCryptographicHash::Sha1);
    hash.addData(QByteArray::fromStdString(disc.TocText()));
    hash.addData(sample);
    return hash.result().toHex().left(20).toStdString();
}

std::string TrackFileName(track_t track) {
    char name[32];
    std::snprintf(name, sizeof name, "Track %02d.wav", static_cast<int>(track));
    return name;
}

bool IsWhole(const fs::path& file, const TrackSpan& track) {
    return CdWavFrameCount(file) ==
           static_cast<int64_t>(track.Sectors()) * static_cast<int64_t>(kFramesPerSector);
}

std::string WriteError(track_t track, const std::string& why) {
    return QCoreApplication::translate("DiscReader", "Cannot write track %1: %2")
        .arg(QString::number(track), QString::fromStdString(why))
        .toStdString();
}

struct DiscFolders {
    fs::path disc;
    fs::path whole;   // "wav": tracks read whole
    fs::path damaged; // tracks read with sectors that could not be read exactly
};

enum class TrackOutcome { Read, Stopped, Unreadable, WriteFailed };

class DiscRead {
public:
    DiscRead(cdrom_drive_t* openDrive, DriveWatch& driveWatch, const std::atomic<bool>& stopRequest,
             const DiscReadProgressFunction& report)
        : drive(openDrive), watch(driveWatch), stop(stopRequest), progress(report) {}

    // Reads the tracks that are not whole yet into the folders.
    void Run(const std::vector<TrackSpan>& tracks, const DiscFolders& folders,
             DiscReadResult& result);

private:
    TrackOutcome ReadTrack(const TrackSpan& track, const fs::path& partFile, std::string& error);
    // Puts a track read to its end where it belongs; false, with the error, when it cannot.
    bool Keep(const TrackSpan& track, const fs::path& partFile, const DiscFolders& folders,
              DiscReadResult& result) const;
    void Report(const TrackSpan& track, lsn_t sectorsDoneInTrack);

    cdrom_drive_t* drive;
    DriveWatch& watch;
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
    progress({track.number, trackIndex, trackCount, fraction, false});
}

TrackOutcome DiscRead::ReadTrack(const TrackSpan& track, const fs::path& partFile,
                                 std::string& error) {
    // The folder's lock is held, so a part file there is one a crash left behind.
    std::error_code removeError;
    fs::remove(partFile, removeError);
    TrackWavWriter writer(partFile);
    if (!writer.Error().empty()) {
        error = WriteError(track.number, writer.Error());
        return TrackOutcome::WriteFailed;
    }
    watch.StartTrack(track);
    cdio_paranoia_seek(paranoia.get(), track.first, SEEK_SET);
    const std::vector<int16_t> silence(kFramesPerSector * 2, 0);
    for (lsn_t sector = track.first; sector <= track.last; ++sector) {
        if ((sector - track.first) % kSectorsPerSecond == 0) {
            Report(track, sector - track.first);
        }
        if (stop) {
            return TrackOutcome::Stopped;
        }
        const int16_t* samples = cdio_paranoia_read_limited(
            paranoia.get(), &DriveWatch::ParanoiaEvent, kParanoiaRetries);
        if (stop) {
            return TrackOutcome::Stopped;
        }
        if (samples == nullptr) {
            return TrackOutcome::Unreadable;
        }
        // For a sector that never came off the drive, paranoia hands out wherever its buffer
        // stands, past its end when the buffer is empty (a track whose first sectors fail): such
        // a sector is written as silence. The track counts it as damaged either way.
        if (!watch.CameOffDrive(sector)) {
            samples = silence.data();
        }
        if (!writer.Write(samples, kFramesPerSector)) {
            error = WriteError(track.number, writer.Error());
            return TrackOutcome::WriteFailed;
        }
    }
    if (!writer.Finish()) {
        error = WriteError(track.number, writer.Error());
        return TrackOutcome::WriteFailed;
    }
    return TrackOutcome::Read;
}

bool DiscRead::Keep(const TrackSpan& track, const fs::path& partFile, const DiscFolders& folders,
                    DiscReadResult& result) const {
    const std::string name = TrackFileName(track.number);
    // The track number goes with the file; a file system without attributes still has it in
    // the file's name.
    kit::WriteInt32Attribute(partFile, "Audio:Track", track.number);
    const int32_t damaged = watch.DamagedSectors(track);
    const fs::path target = (damaged > 0 ? folders.damaged : folders.whole) / name;
    std::error_code error;
    const QString refused = damaged > 0 ? kit::MakeOwnFolder(folders.damaged) : QString();
    if (refused.isEmpty()) {
        fs::rename(partFile, target, error);
    }
    if (!refused.isEmpty() || error) {
        result.error =
            WriteError(track.number, refused.isEmpty() ? error.message() : refused.toStdString());
        return false;
    }
    if (damaged > 0) {
        result.damaged.push_back({track.number, damaged, target});
    } else {
        fs::remove(folders.damaged / name, error); // a copy an earlier read left
    }
    return true;
}

void DiscRead::Run(const std::vector<TrackSpan>& tracks, const DiscFolders& folders,
                   DiscReadResult& result) {
    std::vector<TrackSpan> toRead;
    for (const TrackSpan& track : tracks) {
        if (IsWhole(folders.whole / TrackFileName(track.number), track)) {
            std::error_code error;
            fs::remove(folders.damaged / TrackFileName(track.number), error);
        } else {
            toRead.push_back(track);
            sectorsTotal += track.Sectors();
        }
    }
    trackCount = static_cast<int32_t>(toRead.size());
    if (toRead.empty()) {
        return;
    }
    paranoia.reset(cdio_paranoia_init(drive));
    if (!paranoia) {
        result.error = QCoreApplication::translate("DiscReader", "Cannot read audio from the disc.")
                           .toStdString();
        return;
    }
    cdio_paranoia_modeset(paranoia.get(), PARANOIA_MODE_FULL ^ PARANOIA_MODE_NEVERSKIP);
    // A track that cannot be read does not keep the later ones from being read; a stop or a
    // file that cannot be written ends the reading.
    for (const TrackSpan& track : toRead) {
        ++trackIndex;
        const fs::path partFile =
            folders.disc / (TrackFileName(track.number) + std::string(kPartFileExtension));
        const TrackOutcome outcome = ReadTrack(track, partFile, result.error);
        const bool kept = outcome == TrackOutcome::Read && Keep(track, partFile, folders, result);
        if (!kept) {
            std::error_code error;
            fs::remove(partFile, error);
        }
        if (outcome == TrackOutcome::Stopped || !result.error.empty()) {
            result.stopped = outcome == TrackOutcome::Stopped;
            return;
        }
        if (outcome == TrackOutcome::Unreadable) {
            result.damaged.push_back({track.number, track.Sectors(), {}});
        }
        sectorsDone += track.Sectors();
    }
}

// Takes the lock of the disc's folder, waiting while another reader holds it. Null, with the
// error or the stop in the result, when it was not taken.
std::unique_ptr<DiscFolderLock> LockDiscFolder(const fs::path& cacheFolder,
                                               const std::atomic<bool>& stop,
                                               const DiscReadProgressFunction& progress,
                                               DiscReadResult& result) {
    const fs::path discFolder = cacheFolder / result.discId;
    for (bool told = false;; std::this_thread::sleep_for(kLockPoll)) {
        // Made again each time: clearing the cache may have removed it meanwhile.
        if (const std::string refused = MakeDiscFolder(cacheFolder, result.discId);
            !refused.empty()) {
            result.error =
                QCoreApplication::translate("DiscReader", "The CD cache cannot be used: %1")
                    .arg(QString::fromStdString(refused))
                    .toStdString();
            return nullptr;
        }
        auto lock = std::make_unique<DiscFolderLock>(discFolder);
        if (lock->Result() == DiscFolderLock::State::Held) {
            return lock;
        }
        if (lock->Result() == DiscFolderLock::State::Failed) {
            result.error =
                QCoreApplication::translate("DiscReader", "Cannot lock the folder %1: %2")
                    .arg(QString::fromStdString(discFolder.string()),
                         QString::fromStdString(lock->Error()))
                    .toStdString();
            return nullptr;
        }
        if (stop) {
            result.stopped = true;
            return nullptr;
        }
        if (!told && progress) {
            progress({0, 0, 0, 0.0, true});
        }
        told = true;
    }
}

} // namespace

DiscReadResult module::ReadDisc(const std::string& device, const fs::path& cacheFolder,
                                const std::atomic<bool>& stop,
                                const DiscReadProgressFunction& progress,
                                const DriveFaults& faults) {
    DiscReadResult result;
    const CdioPtr cdio = OpenCdioDisc(device);
    if (!cdio) {
        result.error = QCoreApplication::translate("DiscReader", "Cannot open the disc in %1.")
                           .arg(QString::fromStdString(device))
                           .toStdString();
        return result;
    }
    result.disc = ReadDiscInfo(cdio.get());
    const DrivePtr drive(cdio_cddap_identify_cdio(cdio.get(), CDDA_MESSAGE_FORGETIT, nullptr));
    if (!drive || cdio_cddap_open(drive.get()) != 0) {
        result.error =
            QCoreApplication::translate("DiscReader", "Cannot read audio from the disc in %1.")
                .arg(QString::fromStdString(device))
                .toStdString();
        return result;
    }
    const std::vector<TrackSpan> tracks = AudioTracks(cdio.get(), drive.get());
    if (tracks.empty()) {
        result.error =
            QCoreApplication::translate("DiscReader", "The disc in %1 has no audio tracks.")
                .arg(QString::fromStdString(device))
                .toStdString();
        return result;
    }
    DriveWatch watch(drive.get(), stop, faults, tracks.front().first, tracks.back().last);
    result.discId = DiscIdentity(result.disc, IdentitySample(drive.get(), tracks.front()));
    if (stop) {
        result.stopped = true;
        return result;
    }

    RemoveLeftoverPartFiles(cacheFolder);
    const std::unique_ptr<DiscFolderLock> lock =
        LockDiscFolder(cacheFolder, stop, progress, result);
    if (!lock) {
        return result;
    }
    const DiscFolders folders{cacheFolder / result.discId, cacheFolder / result.discId / "wav",
                              cacheFolder / result.discId / "damaged"};
    if (const QString refused = kit::MakeOwnFolder(folders.whole); !refused.isEmpty()) {
        result.error = QCoreApplication::translate("DiscReader", "The CD cache cannot be used: %1")
                           .arg(refused)
                           .toStdString();
        return result;
    }
    result.folder = folders.whole;

    const fs::path marker = folders.disc / "complete";
    const bool whole = std::all_of(tracks.begin(), tracks.end(), [&](const TrackSpan& track) {
        return IsWhole(folders.whole / TrackFileName(track.number), track);
    });
    std::error_code error;
    if (whole && fs::exists(marker, error)) {
        return result;
    }
    fs::remove(marker, error);

    DiscRead(drive.get(), watch, stop, progress).Run(tracks, folders, result);
    if (result.Complete()) {
        kit::WriteOwnFile(marker, QByteArray::fromStdString(result.disc.Label() + '\n'));
    }
    return result;
}
