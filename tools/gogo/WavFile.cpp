// SPDX-License-Identifier: GPL-3.0-or-later
#include "WavFile.h"

#include <algorithm>
#include <cerrno>
#include <cstdint>
#include <cstring>
#include <fcntl.h>
#include <limits>
#include <optional>
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

bool ReadAt(int fd, off_t offset, unsigned char* bytes, size_t size) {
    return pread(fd, bytes, size, offset) == static_cast<ssize_t>(size);
}

std::uint32_t Little32(const unsigned char* bytes) {
    return static_cast<std::uint32_t>(bytes[0]) | static_cast<std::uint32_t>(bytes[1]) << 8 |
           static_cast<std::uint32_t>(bytes[2]) << 16 | static_cast<std::uint32_t>(bytes[3]) << 24;
}

// Whether the 8 bytes at `offset` read as a chunk header whose chunk fits in the file.
bool IsChunkHeader(int fd, off_t offset, off_t fileSize) {
    unsigned char header[8];
    if (!ReadAt(fd, offset, header, sizeof header)) {
        return false;
    }
    for (int i = 0; i < 4; ++i) {
        if (header[i] < 0x20 || header[i] > 0x7e) {
            return false;
        }
    }
    return offset + 8 + static_cast<off_t>(Little32(header + 4)) <= fileSize;
}

// Where the size field of a RIFF WAV file's data chunk lies when it says 0 though audio follows
// the chunk (anything but another chunk), and the size the audio to the end of the file has.
struct HollowDataChunk {
    off_t sizeField = 0;
    std::uint32_t size = 0;
};

std::optional<HollowDataChunk> FindHollowDataChunk(int fd, off_t fileSize) {
    unsigned char header[12];
    if (!ReadAt(fd, 0, header, sizeof header) || std::memcmp(header, "RIFF", 4) != 0 ||
        std::memcmp(header + 8, "WAVE", 4) != 0) {
        return std::nullopt;
    }
    // A few chunks come before the audio; a file that seems to have many more is no WAV file.
    constexpr int kMostChunks = 64;
    off_t offset = 12;
    for (int chunk = 0; chunk < kMostChunks && offset + 8 <= fileSize; ++chunk) {
        unsigned char chunkHeader[8];
        if (!ReadAt(fd, offset, chunkHeader, sizeof chunkHeader)) {
            return std::nullopt;
        }
        const std::uint32_t size = Little32(chunkHeader + 4);
        if (std::memcmp(chunkHeader, "data", 4) == 0) {
            const off_t audio = offset + 8;
            if (size != 0 || audio >= fileSize || IsChunkHeader(fd, audio, fileSize)) {
                return std::nullopt;
            }
            return HollowDataChunk{
                offset + 4, static_cast<std::uint32_t>(std::min<off_t>(
                                fileSize - audio, std::numeric_limits<std::uint32_t>::max()))};
        }
        offset += 8 + static_cast<off_t>(size) + (size & 1);
    }
    return std::nullopt;
}

} // namespace

// Reads the file through its descriptor, giving the mended size where its data chunk's size
// field lies.
class WavFile::Source {
public:
    Source(int fd, off_t fileSize, const HollowDataChunk& chunk) : fd_(fd), size_(fileSize) {
        patchAt_ = chunk.sizeField;
        for (int i = 0; i < 4; ++i) {
            patch_[i] = static_cast<unsigned char>(chunk.size >> (8 * i));
        }
    }

    static SF_VIRTUAL_IO Calls() {
        return {
            [](void* self) -> sf_count_t { return static_cast<Source*>(self)->size_; },
            [](sf_count_t offset, int whence, void* self) {
                return static_cast<Source*>(self)->Seek(offset, whence);
            },
            [](void* bytes, sf_count_t count, void* self) {
                return static_cast<Source*>(self)->Read(static_cast<unsigned char*>(bytes), count);
            },
            [](const void*, sf_count_t, void*) -> sf_count_t { return 0; },
            [](void* self) -> sf_count_t { return static_cast<Source*>(self)->position_; },
        };
    }

private:
    sf_count_t Seek(sf_count_t offset, int whence) {
        const sf_count_t base = whence == SEEK_CUR ? position_ : whence == SEEK_END ? size_ : 0;
        position_ = std::max<sf_count_t>(0, base + offset);
        return position_;
    }

    sf_count_t Read(unsigned char* bytes, sf_count_t count) {
        const ssize_t got = pread(fd_, bytes, static_cast<size_t>(count), position_);
        if (got <= 0) {
            return 0;
        }
        for (off_t at = std::max(position_, patchAt_);
             at < std::min<off_t>(position_ + got, patchAt_ + 4); ++at) {
            bytes[at - position_] = patch_[at - patchAt_];
        }
        position_ += got;
        return got;
    }

    int fd_;
    sf_count_t size_;
    sf_count_t position_ = 0;
    off_t patchAt_ = 0;
    unsigned char patch_[4] = {};
};

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
    std::unique_ptr<Source> source;
    SNDFILE* file = nullptr;
    if (const auto hollow = FindHollowDataChunk(fd, status.st_size)) {
        source = std::make_unique<Source>(fd, status.st_size, *hollow);
        SF_VIRTUAL_IO calls = Source::Calls();
        file = sf_open_virtual(&calls, SFM_READ, &info, source.get());
    } else {
        file = sf_open_fd(fd, SFM_READ, &info, SF_FALSE);
    }
    if (!file) {
        close(fd);
        error = std::string("not a WAV file that can be read (") + sf_strerror(nullptr) + ")";
        return nullptr;
    }
    // Owned from here on, so every refusal below closes it.
    std::unique_ptr<WavFile> wav(
        new WavFile(file, fd, info.format & SF_FORMAT_SUBMASK, std::move(source)));
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

WavFile::WavFile(SNDFILE* file, int fd, int encoding, std::unique_ptr<Source> source)
    : source_(std::move(source)), file_(file), fd_(fd), encoding_(encoding) {}

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
