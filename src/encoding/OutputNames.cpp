// SPDX-License-Identifier: GPL-3.0-or-later
#include "encoding/OutputNames.h"

#include "cdaudio/MountTable.h"

#include <algorithm>
#include <array>
#include <system_error>

namespace {

// The kernel's names for the file systems that refuse the characters, and FUSE mounts of them
// (exfat-fuse and ntfs-3g mount as "fuseblk").
bool IsWindowsFileSystem(std::string_view type) {
    constexpr std::array<std::string_view, 6> kTypes = {"vfat", "msdos", "exfat",
                                                        "ntfs", "ntfs3", "fuseblk"};
    if (std::ranges::find(kTypes, type) != kTypes.end()) {
        return true;
    }
    // "fat" also finds exfat.
    return type.starts_with("fuse.") && (type.find("fat") != std::string_view::npos ||
                                         type.find("ntfs") != std::string_view::npos);
}

// Whether `mountPoint` is the folder itself or a folder above it.
bool Holds(std::string_view mountPoint, std::string_view folder) {
    if (mountPoint == "/") {
        return true;
    }
    return folder.starts_with(mountPoint) &&
           (folder.size() == mountPoint.size() || folder[mountPoint.size()] == '/');
}

bool IsRefused(char c) {
    const auto byte = static_cast<unsigned char>(c);
    return byte < 0x20 || byte == 0x7F || c == '?' || c == ':' || c == '*' || c == '<' ||
           c == '>' || c == '|' || c == '\\' || c == '"';
}

} // namespace

bool TakesOnlyWindowsNames(std::string_view mountInfo, const std::filesystem::path& folder) {
    const std::string path = folder.lexically_normal().string();
    size_t longest = 0;
    bool windows = false;
    for (const MountEntry& mount : ParseMountInfo(mountInfo)) {
        if (Holds(mount.mountPoint, path) && mount.mountPoint.size() >= longest) {
            longest = mount.mountPoint.size();
            windows = IsWindowsFileSystem(mount.fsType);
        }
    }
    return windows;
}

bool FolderTakesOnlyWindowsNames(const std::filesystem::path& folder) {
    std::error_code error;
    const std::filesystem::path resolved = std::filesystem::weakly_canonical(folder, error);
    return TakesOnlyWindowsNames(ReadMountTable(), error ? folder : resolved);
}

std::string FitNameLengths(std::string_view name, bool windowsNames, std::string_view extension) {
    constexpr size_t kLongestComponent = 255;
    std::string fitted;
    fitted.reserve(name.size());
    while (true) {
        const size_t slash = name.find('/');
        const std::string_view component = name.substr(0, slash);
        const bool last = slash == std::string_view::npos;
        const size_t room = kLongestComponent - (last ? extension.size() : 0);
        size_t used = 0;
        size_t units = 0;
        while (used < component.size()) {
            // A character's length from its lead byte; UTF-16 needs two units beyond U+FFFF.
            const auto lead = static_cast<unsigned char>(component[used]);
            const size_t length = lead < 0x80    ? 1
                                  : lead >= 0xF0 ? 4
                                  : lead >= 0xE0 ? 3
                                  : lead >= 0xC0 ? 2
                                                 : 1;
            const size_t next = windowsNames ? units + (length == 4 ? 2 : 1) : used + length;
            if (next > room || used + length > component.size()) {
                break;
            }
            used += length;
            units = windowsNames ? next : used;
        }
        fitted += component.substr(0, used);
        if (last) {
            return fitted;
        }
        fitted += '/';
        name.remove_prefix(slash + 1);
    }
}

std::string WindowsSafeName(std::string_view name) {
    std::string safe;
    safe.reserve(name.size());
    size_t componentStart = 0;
    const auto endComponent = [&safe, &componentStart] {
        for (size_t i = safe.size();
             i > componentStart && (safe[i - 1] == '.' || safe[i - 1] == ' '); --i) {
            safe[i - 1] = '_';
        }
    };
    for (const char c : name) {
        if (c == '/') {
            endComponent();
            safe += c;
            componentStart = safe.size();
        } else {
            safe += IsRefused(c) ? '_' : c;
        }
    }
    endComponent();
    return safe;
}
