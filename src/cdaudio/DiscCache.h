// SPDX-License-Identifier: GPL-3.0-or-later
// The cache discs are read into: one folder per disc, each guarded by a lock so that only one
// reader (of any window, program or machine sharing the home folder) writes into it at a time.
//
// The cache folder is used only when it is a real folder of this user (made with mode 0700),
// never through a symbolic link, and each disc folder carries a marker the program wrote. Only
// marked folders count as discs, and only the files the program writes there are measured and
// removed: what else the cache holds (a link to the music collection, another program's files) is
// never touched.
#pragma once

#include <cstdint>
#include <filesystem>
#include <string>
#include <string_view>

// What a track file's name ends with while it is being written, beside the disc's "wav" folder.
inline constexpr std::string_view kPartFileExtension = ".part";

// The cache folder discs are read into: $XDG_CACHE_HOME/vamble, by default ~/.cache/vamble.
std::filesystem::path DiscCacheFolder();

// Makes the disc's folder in the cache folder where it is missing and marks it as the program's.
// Why that cannot be done (the cache folder or the disc's folder is a link, or another user's, or
// cannot be made); empty when it was done.
std::string MakeDiscFolder(const std::filesystem::path& cacheFolder, const std::string& discId);

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
    std::string refused; // why the cache folder is not used; empty when it is (or is missing)
    bool operator==(const DiscCacheUsage&) const = default;
};

// What the cache holds: the size of the files the program wrote in its disc folders, and the
// number of those folders.
DiscCacheUsage MeasureDiscCache(const std::filesystem::path& cacheFolder);

// Removes the disc folders but those of discs being read now, with the files the program wrote
// in them (a folder that holds anything else keeps that); returns what is left.
DiscCacheUsage ClearDiscCache(const std::filesystem::path& cacheFolder);

// Removes the part files that reads ended by a crash left in disc folders no one reads now.
void RemoveLeftoverPartFiles(const std::filesystem::path& cacheFolder);
