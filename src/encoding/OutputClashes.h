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

// Answers whether something is at a path from one listing of each folder asked about, taken
// when first needed: for many files in few folders far cheaper than asking for each file. A
// folder that cannot be listed but may exist (no permission to read it) is asked file by file.
// Keep one only as long as the disk may be taken as unchanged.
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
// are compared as the file system reads them, without asking it: repeated slashes and "."
// levels do not count ("a//b", "a/./b" and "a/b" are one file). The first row of a path is
// compared against the disk, every later one is a SameAsRow clash of it.
std::vector<OutputClash> FindOutputClashes(const std::vector<std::string_view>& paths,
                                           const FileExists& exists);

// The files one run has begun writing, so that no second row of the run writes one of them.
class ClaimedOutputs {
public:
    // Claims the path for a row; false when a row of this run claimed it before.
    bool Claim(std::string_view path);
    void Clear() { claimed.clear(); }

private:
    std::unordered_set<std::string> claimed;
};
