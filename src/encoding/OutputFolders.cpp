// SPDX-License-Identifier: GPL-3.0-or-later
#include "encoding/OutputFolders.h"

#include <cerrno>
#include <system_error>

namespace {

kit::status_t StatusOfCreation(const std::error_code& error) {
    switch (error.value()) {
    case EROFS:
    case EACCES:
    case EPERM:
        return kit::B_NOT_ALLOWED;
    case ENAMETOOLONG:
    case ENOTDIR:
    case EINVAL:
    case ELOOP:
        return kit::B_BAD_VALUE;
    case ENOMEM:
        return kit::B_NO_MEMORY;
    default:
        return kit::StatusFromPosixError(error.value());
    }
}

} // namespace

kit::status_t CreateDirectories(std::string path,
                                const std::optional<std::filesystem::path>& base) {
    const size_t slash = path.rfind('/');
    if (slash == std::string::npos) {
        return kit::B_OK;
    }
    path.resize(slash);
    if (base) {
        // Joined as text: a folder part that begins with "/" still lies below the base.
        std::error_code error;
        std::string prefix = std::filesystem::absolute(*base, error).string();
        if (error) {
            return StatusOfCreation(error);
        }
        if (!prefix.ends_with('/')) {
            prefix += '/';
        }
        path.insert(0, prefix);
    }

    std::error_code error;
    if (std::filesystem::exists(std::filesystem::symlink_status(path, error))) {
        return kit::B_OK;
    }
    // An empty path fails here with EINVAL.
    std::filesystem::create_directories(path, error);
    return error ? StatusOfCreation(error) : kit::B_OK;
}
