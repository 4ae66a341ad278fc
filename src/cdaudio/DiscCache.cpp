#include "cdaudio/DiscCache.h"

#include <QStandardPaths>
#include <cerrno>
#include <cstring>
#include <fcntl.h>
#include <sys/stat.h>
#include <system_error>
#include <unistd.h>

namespace fs = std::filesystem;

namespace {

bool SameFile(const struct stat& a, const struct stat& b) {
    return a.st_dev == b.st_dev && a.st_ino == b.st_ino;
}

// The entries of the cache folder: disc folders, and whatever else was left there.
template <class Visit> void ForEachEntry(const fs::path& cacheFolder, Visit visit) {
    std::error_code error;
    fs::directory_iterator entries(cacheFolder, error);
    for (; !error && entries != fs::directory_iterator(); entries.increment(error)) {
        visit(*entries);
    }
}

// A folder, not a symbolic link to one: the cache is measured and cleared without leaving it.
bool IsRealFolder(const fs::directory_entry& entry) {
    std::error_code error;
    return !entry.is_symlink(error) && entry.is_directory(error);
}

int64_t FileSize(const fs::directory_entry& entry) {
    std::error_code error;
    if (entry.is_symlink(error) || !entry.is_regular_file(error)) {
        return 0;
    }
    const uintmax_t size = entry.file_size(error);
    return error ? 0 : static_cast<int64_t>(size);
}

} // namespace

fs::path DiscCacheFolder() {
    const QString cache = QStandardPaths::writableLocation(QStandardPaths::GenericCacheLocation);
    return fs::path(cache.toStdString()) / "vamble";
}

DiscFolderLock::DiscFolderLock(const fs::path& discFolder) {
    const fs::path path = discFolder / "lock";
    // A cache being cleared may remove the lock file between its opening and its locking; only
    // the lock of the file still at the path keeps other readers out, so that is tried again.
    for (int attempt = 0; attempt < 3; ++attempt) {
        fd = ::open(path.c_str(), O_RDWR | O_CREAT | O_NOFOLLOW | O_CLOEXEC, 0644);
        if (fd < 0) {
            error = std::strerror(errno);
            return;
        }
        struct flock lock {};
        lock.l_type = F_WRLCK;
        lock.l_whence = SEEK_SET;
        if (::fcntl(fd, F_OFD_SETLK, &lock) != 0) {
            const int why = errno;
            ::close(fd);
            fd = -1;
            state = why == EAGAIN || why == EACCES ? State::Busy : State::Failed;
            error = std::strerror(why);
            return;
        }
        struct stat held {};
        struct stat atPath {};
        if (::fstat(fd, &held) == 0 && ::lstat(path.c_str(), &atPath) == 0 &&
            SameFile(held, atPath)) {
            state = State::Held;
            return;
        }
        ::close(fd);
        fd = -1;
    }
    error = "the lock file keeps being replaced";
}

DiscFolderLock::~DiscFolderLock() {
    if (fd >= 0) {
        ::close(fd); // releases the lock
    }
}

DiscCacheUsage MeasureDiscCache(const fs::path& cacheFolder) {
    DiscCacheUsage usage;
    ForEachEntry(cacheFolder, [&](const fs::directory_entry& entry) {
        if (!IsRealFolder(entry)) {
            usage.bytes += FileSize(entry);
            return;
        }
        ++usage.discs;
        std::error_code error;
        fs::recursive_directory_iterator files(entry.path(), error);
        for (; !error && files != fs::recursive_directory_iterator(); files.increment(error)) {
            usage.bytes += FileSize(*files);
        }
    });
    return usage;
}

DiscCacheUsage ClearDiscCache(const fs::path& cacheFolder) {
    ForEachEntry(cacheFolder, [](const fs::directory_entry& entry) {
        std::error_code error;
        if (IsRealFolder(entry)) {
            // Removed while its lock is held, so that no reader writes into it meanwhile.
            const DiscFolderLock lock(entry.path());
            if (lock.Result() != DiscFolderLock::State::Busy) {
                fs::remove_all(entry.path(), error);
            }
        } else {
            fs::remove(entry.path(), error);
        }
    });
    return MeasureDiscCache(cacheFolder);
}

void RemoveLeftoverPartFiles(const fs::path& cacheFolder) {
    ForEachEntry(cacheFolder, [](const fs::directory_entry& entry) {
        if (!IsRealFolder(entry)) {
            return;
        }
        const DiscFolderLock lock(entry.path());
        if (lock.Result() != DiscFolderLock::State::Held) {
            return;
        }
        std::error_code error;
        fs::directory_iterator files(entry.path(), error);
        for (; !error && files != fs::directory_iterator(); files.increment(error)) {
            if (files->path().extension() == kPartFileExtension) {
                std::error_code removeError;
                fs::remove(files->path(), removeError);
            }
        }
    });
}
