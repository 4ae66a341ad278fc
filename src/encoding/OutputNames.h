// SPDX-License-Identifier: GPL-3.0-or-later
// Output names on the file systems of USB sticks, players and Windows disks (vfat, exFAT, NTFS and
// their FUSE mounts), which refuse some characters that Linux file systems take: an encoding into
// such a folder would fail for a title such as "What?" or "AC:DC".
#pragma once

#include <filesystem>
#include <string>
#include <string_view>

// Whether the folder lies on such a file system, as the mount table `mountInfo` (the text of
// /proc/self/mountinfo) says: its mount is the one whose mount point is the longest leading part
// of the folder's path.
bool TakesOnlyWindowsNames(std::string_view mountInfo, const std::filesystem::path& folder);

// The same for this system: its mount table, the folder resolved as far as it exists (it may be
// made only when the first file is encoded).
bool FolderTakesOnlyWindowsNames(const std::filesystem::path& folder);

// The name (components separated by "/") with what such file systems refuse replaced by "_" in
// each component: ? : * < > | \ and the double quote, control characters, and dots and spaces at
// a component's end. The same character for each, so that names stay recognisable.
std::string WindowsSafeName(std::string_view name);

// The name with each component cut, on a character boundary, to what a file system allows of a
// file or folder name: 255 bytes, or on Windows file systems 255 UTF-16 units; the last
// component keeps room for `extension` (".mp3").
std::string FitNameLengths(std::string_view name, bool windowsNames, std::string_view extension);
