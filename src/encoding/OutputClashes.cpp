// SPDX-License-Identifier: GPL-3.0-or-later
#include "encoding/OutputClashes.h"

#include <QStringDecoder>
#include <algorithm>
#include <cerrno>
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

bool IsAscii(std::string_view text) {
    return std::all_of(text.begin(), text.end(),
                       [](char c) { return static_cast<unsigned char>(c) < 0x80; });
}

// The text with its letters folded to one case; bytes that are not UTF-8 stay as they are.
std::string FoldedCase(std::string_view text) {
    if (IsAscii(text)) {
        std::string folded(text);
        for (char& c : folded) {
            if (c >= 'A' && c <= 'Z') {
                c = static_cast<char>(c - 'A' + 'a');
            }
        }
        return folded;
    }
    QStringDecoder decoder(QStringConverter::Utf8, QStringConverter::Flag::Stateless);
    const QString decoded =
        decoder(QByteArrayView(text.data(), static_cast<qsizetype>(text.size())));
    if (decoder.hasError()) {
        return std::string(text);
    }
    return decoded.toCaseFolded().toStdString();
}

} // namespace

std::string OutputKey(std::string_view path) {
    return FoldedCase(HasSkippedLevel(path) ? WithoutSkippedLevels(path) : path);
}

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
    return listing.listed ? listing.names.contains(FoldedCase(path.substr(slash + 1)))
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
        listing.names.insert(FoldedCase(entry->d_name));
    }
    ::closedir(dir);
    return listing;
}

std::vector<OutputClash> FindOutputClashes(const std::vector<std::string_view>& paths,
                                           const FileExists& exists) {
    std::vector<OutputClash> clashes(paths.size());
    std::unordered_map<std::string, std::size_t> firstRow;
    firstRow.reserve(paths.size());
    for (std::size_t row = 0; row < paths.size(); ++row) {
        const std::string_view path = paths[row];
        if (path.empty()) {
            continue;
        }
        const auto [first, isFirst] = firstRow.try_emplace(OutputKey(path), row);
        if (!isFirst) {
            clashes[row] = {ClashKind::SameAsRow, first->second};
        } else if (exists(path)) {
            clashes[row] = {ClashKind::ExistingFile, 0};
        }
    }
    return clashes;
}
