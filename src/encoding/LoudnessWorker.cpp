#include "encoding/LoudnessWorker.h"

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
            rows[job.row] = RowState{found->second, job.beforeEncoding, false, {}};
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
    }
    changed.notify_all();
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
        if (albums[found->second.album].whole) {
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
        changed.wait(lock, [this] { return ending || nextAlbum < albums.size(); });
        if (ending) {
            return;
        }
        MeasureOneAlbum(lock, nextAlbum++, round);
    }
}

void LoudnessWorker::MeasureOneAlbum(std::unique_lock<std::mutex>& lock, size_t album,
                                     uint64_t started) {
    const std::vector<int64_t> albumRows = albums[album].rows;
    const std::vector<std::filesystem::path> files = albums[album].files;
    lock.unlock();
    const std::optional<Loudness> whole = MeasureAlbum(
        files,
        [&](std::size_t i, const TrackLoudness& track) {
            const std::lock_guard trackLock(mutex);
            if (round == started) {
                RowState& state = rows[albumRows[i]];
                state.measured = true;
                state.loudness.track = track.loudness;
                state.loudness.error = track.error;
                changed.notify_all();
            }
        },
        [this, started] { return round == started; });
    lock.lock();
    if (round != started) {
        return;
    }
    for (const int64_t row : albumRows) {
        rows[row].loudness.album = whole;
    }
    albums[album].whole = true;
    changed.notify_all();
}
