#include "encoding/OutputClashes.h"

#include <system_error>
#include <unordered_map>

namespace {

// The path as one text per file: repeated slashes and "." levels removed. ".." is left alone,
// as the name pattern never makes one and the output folder keeps the user's own.
std::string ComparableText(const std::filesystem::path& path) {
    return path.lexically_normal().string();
}

} // namespace

bool FileExistsOnDisk(const std::filesystem::path& path) {
    std::error_code error;
    return std::filesystem::exists(std::filesystem::symlink_status(path, error));
}

std::vector<OutputClash> FindOutputClashes(const std::vector<std::filesystem::path>& paths,
                                           const FileExists& exists) {
    std::vector<OutputClash> clashes(paths.size());
    std::unordered_map<std::string, std::size_t> firstRow;
    firstRow.reserve(paths.size());
    for (std::size_t row = 0; row < paths.size(); ++row) {
        if (paths[row].empty()) {
            continue;
        }
        const auto [first, isFirst] = firstRow.try_emplace(ComparableText(paths[row]), row);
        if (!isFirst) {
            clashes[row] = {ClashKind::SameAsRow, first->second};
        } else if (exists(paths[row])) {
            clashes[row] = {ClashKind::ExistingFile, 0};
        }
    }
    return clashes;
}

bool ClaimedOutputs::Claim(const std::filesystem::path& path) {
    return claimed.insert(ComparableText(path)).second;
}
