// The cache discs are read into: one folder per disc, each guarded by a lock so that only one
// reader (of any window, program or machine sharing the home folder) writes into it at a time.
#pragma once

#include <cstdint>
#include <filesystem>
#include <string>
#include <string_view>

// What a track file's name ends with while it is being written, beside the disc's "wav" folder.
inline constexpr std::string_view kPartFileExtension = ".part";

// The cache folder discs are read into: $XDG_CACHE_HOME/vamble, by default ~/.cache/vamble.
std::filesystem::path DiscCacheFolder();

// The lock of one disc's folder: an open file description lock on its file "lock", which the
// kernel also keeps across NFS and drops when its holder ends, crash or not.
class DiscFolderLock {
public:
    enum class State { Held, Busy, Failed };

    // Tries once to take the lock of the folder, which must exist.
    explicit DiscFolderLock(const std::filesystem::path& discFolder);
    ~DiscFolderLock();
    DiscFolderLock(const DiscFolderLock&) = delete;
    DiscFolderLock& operator=(const DiscFolderLock&) = delete;

    // Busy: another reader holds it. Failed: Error() tells why it could not be asked for.
    [[nodiscard]] State Result() const { return state; }
    [[nodiscard]] const std::string& Error() const { return error; }

private:
    int fd = -1;
    State state = State::Failed;
    std::string error;
};

struct DiscCacheUsage {
    int64_t bytes = 0;
    int32_t discs = 0;
    bool operator==(const DiscCacheUsage&) const = default;
};

// What the cache holds: the size of its files and the number of disc folders.
DiscCacheUsage MeasureDiscCache(const std::filesystem::path& cacheFolder);

// Removes everything in the cache but the folders of discs being read now; returns what is left.
DiscCacheUsage ClearDiscCache(const std::filesystem::path& cacheFolder);

// Removes the part files that reads ended by a crash left in disc folders no one reads now.
void RemoveLeftoverPartFiles(const std::filesystem::path& cacheFolder);
