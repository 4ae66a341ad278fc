#include "encoding/OutputClashes.h"

#include <deque>
#include <filesystem>
#include <system_error>
#include <unordered_map>

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

bool FileExistsOnDisk(const std::string& path) {
    std::error_code error;
    return std::filesystem::exists(std::filesystem::symlink_status(path, error));
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
        } else if (exists(std::string(path))) {
            clashes[row] = {ClashKind::ExistingFile, 0};
        }
    }
    return clashes;
}

bool ClaimedOutputs::Claim(std::string_view path) {
    return claimed.insert(HasSkippedLevel(path) ? WithoutSkippedLevels(path) : std::string(path))
        .second;
}
