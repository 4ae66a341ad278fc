#include "WavFile.h"

#include <cerrno>
#include <cstring>
#include <fcntl.h>
#include <sndfile.h>
#include <sys/stat.h>
#include <unistd.h>

namespace gogo {
namespace {

bool IsWav(int format) {
    const int container = format & SF_FORMAT_TYPEMASK;
    return container == SF_FORMAT_WAV || container == SF_FORMAT_WAVEX ||
           container == SF_FORMAT_RF64;
}

} // namespace

std::unique_ptr<WavFile> WavFile::Open(const std::string& path, std::string& error) {
    // Opened here rather than by libsndfile, so that the system's reason is reported as it is;
    // without blocking, so that a FIFO is refused instead of waited on; only regular files are
    // encoded.
    const int fd = open(path.c_str(), O_RDONLY | O_NONBLOCK | O_CLOEXEC);
    if (fd < 0) {
        error = std::strerror(errno);
        return nullptr;
    }
    struct stat status {};
    if (fstat(fd, &status) != 0 || !S_ISREG(status.st_mode)) {
        close(fd);
        error = "not a regular file";
        return nullptr;
    }
    SF_INFO info{};
    SNDFILE* file = sf_open_fd(fd, SFM_READ, &info, SF_FALSE);
    if (!file) {
        close(fd);
        error = std::string("not a WAV file that can be read (") + sf_strerror(nullptr) + ")";
        return nullptr;
    }
    // Owned from here on, so every refusal below closes it.
    std::unique_ptr<WavFile> wav(new WavFile(file, fd, info.format & SF_FORMAT_SUBMASK));
    if (!IsWav(info.format)) {
        error = "not a WAV file";
        return nullptr;
    }
    if (info.channels < 1 || info.channels > 2) {
        error = "it has " + std::to_string(info.channels) +
                " channels; only mono and stereo can be encoded";
        return nullptr;
    }
    if (info.samplerate < 1 || info.frames < 0) {
        error = "its header is damaged";
        return nullptr;
    }
    // Float samples are read as they are; the encoder limits them to full scale.
    const bool floating = wav->encoding_ == SF_FORMAT_FLOAT || wav->encoding_ == SF_FORMAT_DOUBLE;
    wav->format_ = {info.channels, info.samplerate, info.frames, floating};
    return wav;
}

WavFile::WavFile(SNDFILE* file, int fd, int encoding) : file_(file), fd_(fd), encoding_(encoding) {}

WavFile::~WavFile() {
    sf_close(file_);
    close(fd_);
}

// By samples rather than frames: libsndfile then also gives the whole samples of a partial last
// frame, as lame reads them.
std::int64_t WavFile::ReadInt(std::int32_t* buffer, std::int64_t frames) {
    return Checked(sf_read_int(file_, buffer, frames * format_.channels));
}

std::int64_t WavFile::ReadFloat(float* buffer, std::int64_t frames) {
    return Checked(sf_read_float(file_, buffer, frames * format_.channels));
}

// libsndfile returns 0 both at the end and on an error; its error state tells them apart.
std::int64_t WavFile::Checked(std::int64_t read) const {
    return read == 0 && sf_error(file_) != SF_ERR_NO_ERROR ? -1 : read;
}

std::string WavFile::Error() const {
    return sf_strerror(file_);
}

} // namespace gogo
