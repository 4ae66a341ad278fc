// SPDX-License-Identifier: GPL-3.0-or-later
// Rows whose MP3 files would land on one another or on a file that is already there.
#pragma once

#include <cstddef>
#include <functional>
#include <string>
#include <string_view>
#include <unordered_map>
#include <unordered_set>
#include <vector>

enum class ClashKind {
    None,
    SameAsRow,    // an earlier row writes the same file
    ExistingFile, // something is already at the path
};

struct OutputClash {
    ClashKind kind = ClashKind::None;
    // With SameAsRow: the position of the earlier row among the paths given.
    std::size_t otherRow = 0;
    bool operator==(const OutputClash&) const = default;
};

using FileExists = std::function<bool(std::string_view path)>;

// Whether anything (a file, a folder, a dangling link) is at the path.
bool FileExistsOnDisk(std::string_view path);

// What makes two output paths one file: paths are compared as the file system reads them,
// without asking it, so repeated slashes and "." levels do not count ("a//b", "a/./b" and "a/b"
// are one file), and neither does letter case: on the folders MP3s most often go to (vfat and
// exFAT, on USB sticks and players) "Song.mp3" and "song.mp3" are one file.
std::string OutputKey(std::string_view path);

// Answers whether something is at a path from one listing of each folder asked about, taken
// when first needed: for many files in few folders far cheaper than asking for each file. A name
// that differs from the one asked about only in letter case counts (see OutputKey). A folder
// that cannot be listed but may exist (no permission to read it) is asked file by file. Keep one
// only as long as the disk may be taken as unchanged.
class FolderListings {
public:
    bool Exists(std::string_view path);

private:
    struct Listing {
        bool listed = false; // false: ask the disk for each file
        std::unordered_set<std::string> names;
    };
    const Listing& ListingOf(std::string_view folder);

    std::unordered_map<std::string, Listing> listings;
};

// One answer per path, in order. An empty path takes no part (a row that writes nothing). Paths
// are compared by their OutputKey. The first row of a path is compared against the disk, every
// later one is a SameAsRow clash of it.
std::vector<OutputClash> FindOutputClashes(const std::vector<std::string_view>& paths,
                                           const FileExists& exists);

// A set of output files, each path standing for every path with its OutputKey: the files one
// run has begun writing, or those the user agreed to replace.
class OutputPathSet {
public:
    // Adds the path; false when it (or a path of the same file) was there.
    bool Insert(std::string_view path) { return keys.insert(OutputKey(path)).second; }
    [[nodiscard]] bool Contains(std::string_view path) const {
        return keys.contains(OutputKey(path));
    }
    void Clear() { keys.clear(); }

private:
    std::unordered_set<std::string> keys;
};
