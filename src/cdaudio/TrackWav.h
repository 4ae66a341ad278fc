// SPDX-License-Identifier: GPL-3.0-or-later
// WAV files of audio CD tracks: 16-bit stereo at 44.1 kHz, written with libsndfile.
#pragma once

#include <cstddef>
#include <cstdint>
#include <filesystem>
#include <sndfile.h>
#include <string>

// Writes one track file. The data reaches the disk before Finish reports success, so a file
// renamed into place afterwards is whole even after a crash.
class TrackWavWriter {
public:
    // Creates the file; fails when anything (a file, a symbolic link) is at the path already.
    explicit TrackWavWriter(const std::filesystem::path& path);
    ~TrackWavWriter();
    TrackWavWriter(const TrackWavWriter&) = delete;
    TrackWavWriter& operator=(const TrackWavWriter&) = delete;

    // False, with Error() telling why, when the file could not be created or written.
    bool Write(const int16_t* samples, size_t frames); // frames of two interleaved samples
    bool Finish();
    [[nodiscard]] const std::string& Error() const { return error; }

private:
    void Close();

    int fd = -1;
    SNDFILE* file = nullptr;
    std::string error;
};

// The number of frames of a WAV file in the CD's format; -1 when the file cannot be read as one.
int64_t CdWavFrameCount(const std::filesystem::path& path);
