// SPDX-License-Identifier: GPL-3.0-or-later
// Making the folders an output file is written into.
#pragma once

#include "kit/Status.h"

#include <filesystem>
#include <optional>
#include <string>

// Makes sure that the folder part of `path` (everything before its last "/") exists, below `base`
// when one is given; a path without "/" has no folder part. An existing entry of any kind counts
// as done. Missing levels are all made, with mode 0777 less the umask. Returns B_OK;
// B_NOT_ALLOWED when the file system is read-only or permission is refused; B_BAD_VALUE for a
// path that cannot name a folder (empty, too long, through a file, a symbolic link loop); any
// other host error as its own status (kit::StatusFromPosixError).
kit::status_t CreateDirectories(std::string path,
                                const std::optional<std::filesystem::path>& base = std::nullopt);
