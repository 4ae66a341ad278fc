// SPDX-License-Identifier: GPL-3.0-or-later
#include "cdaudio/TrackWav.h"

#include <cerrno>
#include <cstring>
#include <fcntl.h>
#include <unistd.h>

namespace {

constexpr int kChannels = 2;
constexpr int kSampleRate = 44100;

} // namespace

TrackWavWriter::TrackWavWriter(const std::filesystem::path& path) {
    // Never into a file that is there already, nor through a symbolic link: another reader's
    // file or a planted link would otherwise be overwritten.
    fd = ::open(path.c_str(), O_WRONLY | O_CREAT | O_EXCL | O_NOFOLLOW | O_CLOEXEC, 0644);
    if (fd < 0) {
        error = std::strerror(errno);
        return;
    }
    SF_INFO info{};
    info.channels = kChannels;
    info.samplerate = kSampleRate;
    info.format = SF_FORMAT_WAV | SF_FORMAT_PCM_16;
    file = sf_open_fd(fd, SFM_WRITE, &info, SF_FALSE);
    if (file == nullptr) {
        error = sf_strerror(nullptr);
        Close();
    }
}

TrackWavWriter::~TrackWavWriter() {
    Close();
}

void TrackWavWriter::Close() {
    if (file != nullptr) {
        sf_close(file);
        file = nullptr;
    }
    if (fd >= 0) {
        ::close(fd);
        fd = -1;
    }
}

bool TrackWavWriter::Write(const int16_t* samples, size_t frames) {
    if (file == nullptr) {
        return false;
    }
    const auto count = static_cast<sf_count_t>(frames);
    if (sf_writef_short(file, samples, count) != count) {
        error = sf_strerror(file);
        return false;
    }
    return true;
}

bool TrackWavWriter::Finish() {
    if (file == nullptr) {
        return false;
    }
    // Closing writes the final sizes into the header.
    const int closed = sf_close(file);
    file = nullptr;
    if (closed != 0) {
        error = sf_error_number(closed);
    } else if (::fsync(fd) != 0) {
        error = std::strerror(errno);
    }
    Close();
    return error.empty();
}

int64_t CdWavFrameCount(const std::filesystem::path& path) {
    SF_INFO info{};
    SNDFILE* file = sf_open(path.c_str(), SFM_READ, &info);
    if (file == nullptr) {
        return -1;
    }
    sf_close(file);
    const bool cdFormat = info.channels == kChannels && info.samplerate == kSampleRate &&
                          (info.format & SF_FORMAT_TYPEMASK) == SF_FORMAT_WAV &&
                          (info.format & SF_FORMAT_SUBMASK) == SF_FORMAT_PCM_16;
    return cdFormat ? info.frames : -1;
}
