#include "encoding/OutputClashes.h"

#include <cerrno>
#include <deque>
#include <dirent.h>
#include <sys/stat.h>

namespace {

// Whether the path has a level the file system skips: an empty one ("//") or "." ("/./").
bool HasSkippedLevel(std::string_view path) {
    for (std::size_t at = path.find('/'); at != std::string_view::npos;
         at = path.find('/', at + 1)) {
        const std::string_view rest = path.substr(at + 1);
        if (rest.starts_with('/') || rest == "." || rest.starts_with("./")) {
            return true;
        }
    }
    return false;
}

// The path without the levels the file system skips. ".." stays: resolving it without the
// disk could be wrong where a level is a symbolic link.
std::string WithoutSkippedLevels(std::string_view path) {
    std::string result;
    result.reserve(path.size());
    std::size_t start = 0;
    while (start <= path.size()) {
        std::size_t end = path.find('/', start);
        if (end == std::string_view::npos) {
            end = path.size();
        }
        const std::string_view level = path.substr(start, end - start);
        if (start == 0 || (!level.empty() && level != ".")) {
            if (start != 0) {
                result += '/';
            }
            result += level;
        }
        start = end + 1;
    }
    return result;
}

} // namespace

bool FileExistsOnDisk(std::string_view path) {
    struct stat info {};
    return ::lstat(std::string(path).c_str(), &info) == 0;
}

bool FolderListings::Exists(std::string_view path) {
    const std::size_t slash = path.rfind('/');
    if (slash == std::string_view::npos) {
        return FileExistsOnDisk(path);
    }
    const Listing& listing = ListingOf(path.substr(0, slash + 1));
    return listing.listed ? listing.names.contains(std::string(path.substr(slash + 1)))
                          : FileExistsOnDisk(path);
}

const FolderListings::Listing& FolderListings::ListingOf(std::string_view folder) {
    const auto [found, added] = listings.try_emplace(std::string(folder));
    Listing& listing = found->second;
    if (!added) {
        return listing;
    }
    DIR* dir = ::opendir(found->first.c_str());
    if (!dir) {
        // A folder that is not there holds nothing; one that cannot be read may.
        listing.listed = errno == ENOENT || errno == ENOTDIR;
        return listing;
    }
    listing.listed = true;
    while (const dirent* entry = ::readdir(dir)) {
        listing.names.emplace(entry->d_name);
    }
    ::closedir(dir);
    return listing;
}

std::vector<OutputClash> FindOutputClashes(const std::vector<std::string_view>& paths,
                                           const FileExists& exists) {
    std::vector<OutputClash> clashes(paths.size());
    // Most paths are compared as they are; only those with skipped levels need a copy.
    std::deque<std::string> normalised;
    std::unordered_map<std::string_view, std::size_t> firstRow;
    firstRow.reserve(paths.size());
    for (std::size_t row = 0; row < paths.size(); ++row) {
        const std::string_view path = paths[row];
        if (path.empty()) {
            continue;
        }
        const std::string_view key =
            HasSkippedLevel(path) ? normalised.emplace_back(WithoutSkippedLevels(path)) : path;
        const auto [first, isFirst] = firstRow.try_emplace(key, row);
        if (!isFirst) {
            clashes[row] = {ClashKind::SameAsRow, first->second};
        } else if (exists(path)) {
            clashes[row] = {ClashKind::ExistingFile, 0};
        }
    }
    return clashes;
}

bool ClaimedOutputs::Claim(std::string_view path) {
    return claimed.insert(HasSkippedLevel(path) ? WithoutSkippedLevels(path) : std::string(path))
        .second;
}
