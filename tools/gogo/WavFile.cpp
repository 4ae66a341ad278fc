#include "WavFile.h"

#include <cerrno>
#include <cstring>
#include <sndfile.h>
#include <sys/stat.h>

namespace gogo {
namespace {

bool IsWav(int format) {
    const int container = format & SF_FORMAT_TYPEMASK;
    return container == SF_FORMAT_WAV || container == SF_FORMAT_WAVEX ||
           container == SF_FORMAT_RF64;
}

} // namespace

std::unique_ptr<WavFile> WavFile::Open(const std::string& path, std::string& error) {
    // libsndfile reads standard input for "-" and waits on a FIFO for ever; only regular files
    // are encoded.
    struct stat status {};
    if (stat(path.c_str(), &status) != 0) {
        error = std::strerror(errno);
        return nullptr;
    }
    if (!S_ISREG(status.st_mode)) {
        error = "not a regular file";
        return nullptr;
    }
    SF_INFO info{};
    SNDFILE* file = sf_open(path.c_str(), SFM_READ, &info);
    if (!file) {
        error = std::string("not a WAV file that can be read (") + sf_strerror(nullptr) + ")";
        return nullptr;
    }
    // Owned from here on, so every refusal below closes it.
    std::unique_ptr<WavFile> wav(new WavFile(file, {}, info.format & SF_FORMAT_SUBMASK));
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
    // Float samples are read as they are, beyond full scale too; libmp3lame limits them.
    const bool floating = wav->encoding_ == SF_FORMAT_FLOAT || wav->encoding_ == SF_FORMAT_DOUBLE;
    wav->format_ = {info.channels, info.samplerate, info.frames, floating};
    return wav;
}

WavFile::WavFile(SNDFILE* file, AudioFormat format, int encoding)
    : file_(file), format_(format), encoding_(encoding) {}

WavFile::~WavFile() {
    sf_close(file_);
}

std::int64_t WavFile::ReadInt(std::int32_t* buffer, std::int64_t frames) {
    return Checked(sf_readf_int(file_, buffer, frames));
}

std::int64_t WavFile::ReadFloat(float* buffer, std::int64_t frames) {
    return Checked(sf_readf_float(file_, buffer, frames));
}

// libsndfile returns 0 both at the end and on an error; its error state tells them apart.
std::int64_t WavFile::Checked(std::int64_t read) const {
    return read == 0 && sf_error(file_) != SF_ERR_NO_ERROR ? -1 : read;
}

std::string WavFile::Error() const {
    return sf_strerror(file_);
}

} // namespace gogo
