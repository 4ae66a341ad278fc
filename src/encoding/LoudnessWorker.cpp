// SPDX-License-Identifier: GPL-3.0-or-later
#include "encoding/LoudnessWorker.h"

#include <algorithm>
#include <chrono>
#include <map>
#include <pthread.h>
#include <sys/resource.h>
#include <unistd.h>

namespace {

// The lowest priority there is for a thread that still runs: 19.
constexpr int kNice = 19;

} // namespace

LoudnessWorker::~LoudnessWorker() {
    {
        const std::lock_guard lock(mutex);
        ending = true;
    }
    Cancel();
    if (thread.joinable()) {
        thread.join();
    }
}

void LoudnessWorker::Measure(std::vector<LoudnessJob> jobs) {
    {
        const std::lock_guard lock(mutex);
        ++round;
        rows.clear();
        albums.clear();
        nextAlbum = 0;
        measureAgain.clear();
        std::map<std::filesystem::path, size_t> albumOfFolder;
        for (LoudnessJob& job : jobs) {
            const auto [found, added] =
                albumOfFolder.try_emplace(job.wav.parent_path(), albums.size());
            if (added) {
                albums.emplace_back();
            }
            Album& album = albums[found->second];
            album.rows.push_back(job.row);
            album.files.push_back(std::move(job.wav));
            rows[job.row] =
                RowState{found->second, job.beforeEncoding, false, Outcome::Pending, {}};
        }
        if (!thread.joinable() && !albums.empty()) {
            thread = std::thread([this] { Run(); });
        }
    }
    changed.notify_all();
}

void LoudnessWorker::Cancel() {
    {
        const std::lock_guard lock(mutex);
        ++round;
        rows.clear();
        albums.clear();
        nextAlbum = 0;
        measureAgain.clear();
    }
    changed.notify_all();
}

void LoudnessWorker::Encoded(int64_t row) {
    {
        const std::lock_guard lock(mutex);
        if (const auto found = rows.find(row); found != rows.end()) {
            // A row encoded as a stop came is counted again.
            if (found->second.outcome == Outcome::LeftOut) {
                AlbumChanged(found->second.album);
            }
            found->second.outcome = Outcome::Encoded;
        }
    }
    changed.notify_all();
}

void LoudnessWorker::NoMoreStart(const std::vector<int64_t>& encoding) {
    {
        const std::lock_guard lock(mutex);
        for (auto& [id, state] : rows) {
            if (state.outcome == Outcome::Pending &&
                std::find(encoding.begin(), encoding.end(), id) == encoding.end()) {
                LeaveOut(state);
            }
        }
    }
    changed.notify_all();
}

void LoudnessWorker::LeaveOut(RowState& row) {
    row.outcome = Outcome::LeftOut;
    AlbumChanged(row.album);
}

void LoudnessWorker::AlbumChanged(size_t index) {
    Album& album = albums[index];
    ++album.changes;
    if (album.started) {
        album.whole = false;
        if (std::find(measureAgain.begin(), measureAgain.end(), index) == measureAgain.end()) {
            measureAgain.push_back(index);
        }
    }
}

bool LoudnessWorker::MeasuredBeforeEncoding(int64_t row) {
    const std::lock_guard lock(mutex);
    const auto found = rows.find(row);
    return found != rows.end() && found->second.beforeEncoding && !found->second.measured;
}

void LoudnessWorker::WaitMeasured(int64_t row, const EncodeStop& stop) {
    std::unique_lock lock(mutex);
    // The stop wakes no condition variable; it is looked at now and then.
    while (!stop.Requested() && !changed.wait_for(lock, std::chrono::milliseconds(50), [this, row] {
        const auto found = rows.find(row);
        return found == rows.end() || found->second.measured;
    })) {
    }
}

std::optional<RowLoudness> LoudnessWorker::WaitForAlbum(int64_t row) {
    std::unique_lock lock(mutex);
    const uint64_t asked = round;
    std::optional<RowLoudness> answer;
    changed.wait(lock, [&] {
        const auto found = rows.find(row);
        if (round != asked || found == rows.end()) {
            return true;
        }
        const Album& album = albums[found->second.album];
        const bool settled = std::none_of(album.rows.begin(), album.rows.end(), [this](int64_t id) {
            return rows.at(id).outcome == Outcome::Pending;
        });
        if (album.whole && settled) {
            answer = found->second.loudness;
            return true;
        }
        return false;
    });
    return answer;
}

void LoudnessWorker::Run() {
    pthread_setname_np(pthread_self(), "vamble_loudness");
    // The encoders keep the processors busy; the measurement takes what they leave (the moments
    // between one file and the next, the last file's encoding alone), so that it costs the run
    // next to nothing. On Linux a thread has a nice value of its own.
    setpriority(PRIO_PROCESS, static_cast<id_t>(gettid()), kNice);
    std::unique_lock lock(mutex);
    for (;;) {
        changed.wait(
            lock, [this] { return ending || !measureAgain.empty() || nextAlbum < albums.size(); });
        if (ending) {
            return;
        }
        // An album measured anew comes first: its rows' tags may be waiting for it.
        if (!measureAgain.empty()) {
            const size_t album = measureAgain.front();
            measureAgain.pop_front();
            MeasureOneAlbum(lock, album, round);
        } else {
            MeasureOneAlbum(lock, nextAlbum++, round);
        }
    }
}

void LoudnessWorker::MeasureOneAlbum(std::unique_lock<std::mutex>& lock, size_t album,
                                     uint64_t started) {
    Album& measuring = albums[album];
    const bool again = measuring.started;
    measuring.started = true;
    const uint64_t changesBefore = measuring.changes;
    std::vector<int64_t> albumRows;
    std::vector<std::filesystem::path> files;
    bool inputsGone = false;
    for (size_t i = 0; i < measuring.rows.size(); ++i) {
        const RowState& state = rows[measuring.rows[i]];
        if (state.outcome != Outcome::LeftOut) {
            albumRows.push_back(measuring.rows[i]);
            files.push_back(measuring.files[i]);
            inputsGone = inputsGone || state.beforeEncoding;
        }
    }
    std::optional<Loudness> whole;
    // Measured anew, the tracks keep what they were measured at; a file deleted once encoded
    // cannot be read again, and its album then has no loudness rather than a wrong one.
    if (!again || !inputsGone) {
        lock.unlock();
        whole = MeasureAlbum(
            files,
            [&](std::size_t i, const TrackLoudness& track) {
                const std::lock_guard trackLock(mutex);
                if (round == started && !again) {
                    RowState& state = rows[albumRows[i]];
                    state.measured = true;
                    state.loudness.track = track.loudness;
                    state.loudness.error = track.error;
                    changed.notify_all();
                }
            },
            [this, started] { return round == started; });
        lock.lock();
    }
    if (round != started || albums[album].changes != changesBefore) {
        return; // dropped, or to be measured anew without the rows left out meanwhile
    }
    for (const int64_t row : albums[album].rows) {
        rows[row].loudness.album = whole;
    }
    albums[album].whole = true;
    changed.notify_all();
}
