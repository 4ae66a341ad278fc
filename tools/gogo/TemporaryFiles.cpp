// SPDX-License-Identifier: GPL-3.0-or-later
#include "TemporaryFiles.h"

#include <algorithm>
#include <cerrno>
#include <dirent.h>
#include <fcntl.h>
#include <random>
#include <string_view>
#include <sys/file.h>
#include <unistd.h>

namespace gogo {
namespace {

constexpr std::string_view kLetters = "abcdefghijklmnopqrstuvwxyz0123456789";
constexpr std::string_view kMarker = ".gogo-";
constexpr std::size_t kRandomLetters = 8;

// Removes the file if no writer holds it.
void RemoveIfAbandoned(int folder, const std::string& name) {
    // Without following links or waiting on a FIFO that has taken the name.
    const int fd = openat(folder, name.c_str(), O_RDONLY | O_NOFOLLOW | O_NONBLOCK | O_CLOEXEC);
    if (fd < 0) {
        return;
    }
    struct stat file {};
    if (fstat(fd, &file) == 0 && S_ISREG(file.st_mode) && flock(fd, LOCK_EX | LOCK_NB) == 0 &&
        NamesFile(folder, name, file)) {
        unlinkat(folder, name.c_str(), 0);
    }
    close(fd);
}

} // namespace

std::string TemporaryName(const std::string& leaf) {
    static std::mt19937 random{std::random_device{}()};
    // Appended piece by piece: GCC 12 takes '"." + std::string' for an overlapping copy
    // (-Wrestrict) in optimised builds.
    std::string name(1, '.');
    name.append(leaf, 0, 200);
    name.append(kMarker);
    for (std::size_t i = 0; i < kRandomLetters; ++i) {
        name += kLetters[random() % kLetters.size()];
    }
    return name;
}

bool IsTemporaryName(const std::string& name) {
    const std::size_t suffix = kMarker.size() + kRandomLetters;
    if (name.size() < 2 + suffix || name[0] != '.' ||
        name.compare(name.size() - suffix, kMarker.size(), kMarker) != 0) {
        return false;
    }
    return std::all_of(name.end() - kRandomLetters, name.end(),
                       [](char c) { return kLetters.find(c) != std::string_view::npos; });
}

bool MarkAsBeingWritten(int fd) {
    return flock(fd, LOCK_EX | LOCK_NB) == 0 || errno != EWOULDBLOCK;
}

bool NamesFile(int folder, const std::string& name, const struct stat& file) {
    struct stat named {};
    return fstatat(folder, name.c_str(), &named, AT_SYMLINK_NOFOLLOW) == 0 &&
           S_ISREG(named.st_mode) && named.st_dev == file.st_dev && named.st_ino == file.st_ino;
}

void RemoveAbandonedTemporaryFiles(int folder) {
    const int listing = openat(folder, ".", O_RDONLY | O_DIRECTORY | O_CLOEXEC);
    if (listing < 0) {
        return;
    }
    DIR* entries = fdopendir(listing);
    if (entries == nullptr) {
        close(listing);
        return;
    }
    while (const dirent* entry = readdir(entries)) {
        if (const std::string name = entry->d_name; IsTemporaryName(name)) {
            RemoveIfAbandoned(folder, name);
        }
    }
    closedir(entries);
}

} // namespace gogo
