// SPDX-License-Identifier: GPL-3.0-or-later
#include "cdaudio/DiscCache.h"

#include "kit/OwnFiles.h"

#include <QCoreApplication>
#include <QStandardPaths>
#include <algorithm>
#include <array>
#include <cerrno>
#include <cstring>
#include <dirent.h>
#include <fcntl.h>
#include <string_view>
#include <sys/stat.h>
#include <system_error>
#include <unistd.h>
#include <vector>

namespace fs = std::filesystem;

namespace {

// What the program writes into a disc's folder: the marker that says it made the folder, the
// lock, the mark of a disc read whole, part files of tracks being read, and the folders of
// tracks read whole and damaged.
constexpr const char* kMarker = ".vamble-disc";
constexpr const char* kLockFile = "lock";
constexpr const char* kCompleteFile = "complete";
constexpr std::array<const char*, 2> kTrackFolders = {"wav", "damaged"};

bool SameFile(const struct stat& a, const struct stat& b) {
    return a.st_dev == b.st_dev && a.st_ino == b.st_ino;
}

// An open folder, closed with its owner.
class Folder {
public:
    // Opens the folder `name` in `parent` (an open folder, or AT_FDCWD for a path), never through
    // a symbolic link.
    Folder(int parent, const char* name)
        : fd(::openat(parent, name, O_RDONLY | O_DIRECTORY | O_NOFOLLOW | O_CLOEXEC)) {}
    ~Folder() {
        if (fd >= 0) {
            ::close(fd);
        }
    }
    Folder(const Folder&) = delete;
    Folder& operator=(const Folder&) = delete;
    [[nodiscard]] int Fd() const { return fd; }
    [[nodiscard]] bool IsOpen() const { return fd >= 0; }

    // The names of its entries but "." and "..".
    [[nodiscard]] std::vector<std::string> Names() const {
        std::vector<std::string> names;
        const int copy = ::openat(fd, ".", O_RDONLY | O_DIRECTORY | O_CLOEXEC);
        DIR* entries = copy >= 0 ? ::fdopendir(copy) : nullptr;
        if (entries == nullptr) {
            if (copy >= 0) {
                ::close(copy);
            }
            return names;
        }
        while (const dirent* entry = ::readdir(entries)) {
            const std::string_view name = entry->d_name;
            if (name != "." && name != "..") {
                names.emplace_back(name);
            }
        }
        ::closedir(entries);
        return names;
    }
    // The size of the regular file `name` in it, not followed; -1 when that is no regular file.
    [[nodiscard]] int64_t FileSize(const std::string& name) const {
        struct stat status {};
        const bool regular = ::fstatat(fd, name.c_str(), &status, AT_SYMLINK_NOFOLLOW) == 0 &&
                             S_ISREG(status.st_mode);
        return regular ? static_cast<int64_t>(status.st_size) : -1;
    }

private:
    int fd;
};

// "Track NN.wav" followed by `suffix`, as the disc reader names the files it writes.
bool IsTrackFile(std::string_view name, std::string_view suffix) {
    constexpr std::string_view kStart = "Track ";
    constexpr std::string_view kEnd = ".wav";
    if (!name.ends_with(suffix)) {
        return false;
    }
    name.remove_suffix(suffix.size());
    const auto digit = [](char c) { return c >= '0' && c <= '9'; };
    return name.size() == kStart.size() + 2 + kEnd.size() && name.starts_with(kStart) &&
           name.ends_with(kEnd) && digit(name[kStart.size()]) && digit(name[kStart.size() + 1]);
}

// Calls visit(folder, name) for each regular file of the disc's folder that the program writes.
template <class Visit> void ForEachOwnFile(const Folder& disc, Visit visit) {
    for (const std::string& name : disc.Names()) {
        const bool own = name == kLockFile || name == kCompleteFile || name == kMarker ||
                         IsTrackFile(name, kPartFileExtension);
        if (own && disc.FileSize(name) >= 0) {
            visit(disc, name);
        }
    }
    for (const char* tracks : kTrackFolders) {
        const Folder folder(disc.Fd(), tracks);
        if (!folder.IsOpen()) {
            continue;
        }
        for (const std::string& name : folder.Names()) {
            if (IsTrackFile(name, {}) && folder.FileSize(name) >= 0) {
                visit(folder, name);
            }
        }
    }
}

// Calls visit(cache, name, disc) for each disc folder of the cache: a real folder carrying the
// marker. Why the cache folder is refused; empty when it is used or missing.
template <class Visit> std::string ForEachDiscFolder(const fs::path& cacheFolder, Visit visit) {
    std::error_code error;
    if (!fs::exists(fs::symlink_status(cacheFolder, error))) {
        return {};
    }
    const QString refused = kit::CheckOwnFolder(cacheFolder);
    const Folder cache(AT_FDCWD, cacheFolder.c_str());
    if (!refused.isEmpty() || !cache.IsOpen()) {
        return refused.isEmpty() ? std::string(std::strerror(errno)) : refused.toStdString();
    }
    for (const std::string& name : cache.Names()) {
        const Folder disc(cache.Fd(), name.c_str());
        if (disc.IsOpen() && disc.FileSize(kMarker) >= 0) {
            visit(cache, name, disc);
        }
    }
    return {};
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
    error = QCoreApplication::translate("DiscCache", "the lock file keeps being replaced")
                .toStdString();
}

DiscFolderLock::~DiscFolderLock() {
    if (fd >= 0) {
        ::close(fd); // releases the lock
    }
}

std::string MakeDiscFolder(const fs::path& cacheFolder, const std::string& discId) {
    const fs::path disc = cacheFolder / discId;
    QString refused = kit::MakeOwnFolder(cacheFolder);
    if (refused.isEmpty()) {
        refused = kit::MakeOwnFolder(disc);
    }
    if (refused.isEmpty() && !kit::WriteOwnFile(disc / kMarker, {})) {
        refused = QStringLiteral("%1: %2").arg(QString::fromStdString((disc / kMarker).string()),
                                               QString::fromUtf8(std::strerror(errno)));
    }
    return refused.toStdString();
}

DiscCacheUsage MeasureDiscCache(const fs::path& cacheFolder) {
    DiscCacheUsage usage;
    usage.refused = ForEachDiscFolder(
        cacheFolder, [&](const Folder& /*cache*/, const std::string& /*name*/, const Folder& disc) {
            ++usage.discs;
            ForEachOwnFile(disc, [&](const Folder& folder, const std::string& file) {
                usage.bytes += std::max<int64_t>(folder.FileSize(file), 0);
            });
        });
    return usage;
}

DiscCacheUsage ClearDiscCache(const fs::path& cacheFolder) {
    ForEachDiscFolder(
        cacheFolder, [&](const Folder& cache, const std::string& name, const Folder& disc) {
            // Removed while its lock is held, so that no reader writes into it meanwhile.
            const DiscFolderLock lock(cacheFolder / name);
            if (lock.Result() == DiscFolderLock::State::Busy) {
                return;
            }
            ForEachOwnFile(disc, [](const Folder& folder, const std::string& file) {
                if (file != kLockFile && file != kMarker) {
                    ::unlinkat(folder.Fd(), file.c_str(), 0);
                }
            });
            for (const char* tracks : kTrackFolders) {
                ::unlinkat(disc.Fd(), tracks, AT_REMOVEDIR); // stays when it holds anything else
            }
            // The folder goes, marker and all, once it holds nothing else.
            const std::vector<std::string> left = disc.Names();
            if (std::all_of(left.begin(), left.end(), [](const std::string& file) {
                    return file == kLockFile || file == kMarker;
                })) {
                ::unlinkat(disc.Fd(), kLockFile, 0);
                ::unlinkat(disc.Fd(), kMarker, 0);
                ::unlinkat(cache.Fd(), name.c_str(), AT_REMOVEDIR);
            }
        });
    return MeasureDiscCache(cacheFolder);
}

void RemoveLeftoverPartFiles(const fs::path& cacheFolder) {
    ForEachDiscFolder(
        cacheFolder, [&](const Folder& /*cache*/, const std::string& name, const Folder& disc) {
            const DiscFolderLock lock(cacheFolder / name);
            if (lock.Result() != DiscFolderLock::State::Held) {
                return;
            }
            for (const std::string& file : disc.Names()) {
                if (IsTrackFile(file, kPartFileExtension) && disc.FileSize(file) >= 0) {
                    ::unlinkat(disc.Fd(), file.c_str(), 0);
                }
            }
        });
}
