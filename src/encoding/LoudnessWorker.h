// SPDX-License-Identifier: GPL-3.0-or-later
// Measures the loudness of a run's WAV files for their ReplayGain tags, on a thread of its own
// beside the encoders: album by album (the rows of one folder, which is also one disc), in the
// order of the list, each album's rows in list order, so that it keeps ahead of the encoders that
// go the same way. An album's loudness counts only the rows that were encoded: a row that fails,
// is removed or is never reached is left out, and an album measured with it is measured anew.
#pragma once

#include "encoding/EncodeStop.h"
#include "tagging/ReplayGain.h"

#include <atomic>
#include <condition_variable>
#include <cstdint>
#include <deque>
#include <filesystem>
#include <mutex>
#include <optional>
#include <string>
#include <thread>
#include <unordered_map>
#include <vector>

struct LoudnessJob {
    int64_t row = 0;
    std::filesystem::path wav;
    // The encoder deletes the file once it is encoded: it is measured before the encoder starts.
    bool beforeEncoding = false;
};

class LoudnessWorker {
public:
    LoudnessWorker() = default;
    // Drops what is not measured yet and waits for the file being measured.
    ~LoudnessWorker();
    LoudnessWorker(const LoudnessWorker&) = delete;
    LoudnessWorker& operator=(const LoudnessWorker&) = delete;

    // Measures these rows; what an earlier call asked for and is not measured yet is dropped.
    void Measure(std::vector<LoudnessJob> jobs);
    // Whether the row is to be measured before its encoder starts, and is not yet.
    [[nodiscard]] bool MeasuredBeforeEncoding(int64_t row);
    // Waits until the row's file is read through, or it is no longer to be measured, or `stop` is
    // requested.
    void WaitMeasured(int64_t row, const EncodeStop& stop);
    // The row's file is encoded: it counts in its album.
    void Encoded(int64_t row);
    // No further row of the run starts: the rows neither encoded nor among `encoding` are left
    // out of their albums.
    void NoMoreStart(const std::vector<int64_t>& encoding);
    // Waits until every row of the row's album is encoded or left out and the album is measured
    // over those encoded, and returns what its tags are made of; nothing when the row is not
    // among those to be measured, or its album was dropped before it was whole.
    std::optional<RowLoudness> WaitForAlbum(int64_t row);
    // Drops what is not measured yet; whoever waits is answered at once.
    void Cancel();

private:
    enum class Outcome { Pending, Encoded, LeftOut };
    struct RowState {
        size_t album = 0; // index into albums
        bool beforeEncoding = false;
        bool measured = false;
        Outcome outcome = Outcome::Pending;
        RowLoudness loudness;
    };
    struct Album {
        std::vector<int64_t> rows;
        std::vector<std::filesystem::path> files;
        bool started = false; // its measurement has begun
        bool whole = false;
        uint64_t changes = 0; // grows with each row left out, or counted again
    };
    void Run();
    // Measures one album of the round `started` over the rows not left out; stops where a later
    // round began, and leaves the album not whole where a row was left out meanwhile.
    void MeasureOneAlbum(std::unique_lock<std::mutex>& lock, size_t album, uint64_t started);
    void LeaveOut(RowState& row);
    // The album's rows to count changed: an album already measured is measured anew.
    void AlbumChanged(size_t index);

    std::mutex mutex;
    std::condition_variable changed;
    std::unordered_map<int64_t, RowState> rows;
    std::vector<Album> albums;
    size_t nextAlbum = 0;
    std::deque<size_t> measureAgain; // albums measured with a row since left out
    // Grows with each Measure and Cancel: work of an earlier round is stale. Read without the lock
    // by the file being measured, to stop early.
    std::atomic<uint64_t> round = 0;
    bool ending = false;
    std::thread thread;
};
