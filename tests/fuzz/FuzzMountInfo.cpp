// SPDX-License-Identifier: GPL-3.0-or-later
// Feeds arbitrary text to the mount-table parser. It must never read out of bounds, list more
// mounts than the text has lines, and every mount it lists, written back as the kernel escapes
// it, must read back the same.
#include "cdaudio/MountTable.h"

#include <algorithm>
#include <cstdlib>
#include <string>

namespace {

std::string Escaped(const std::string& field) {
    std::string text;
    for (const char c : field) {
        if (c == ' ' || c == '\t' || c == '\n' || c == '\\') {
            const auto byte = static_cast<unsigned char>(c);
            text += '\\';
            text += static_cast<char>('0' + (byte >> 6));
            text += static_cast<char>('0' + ((byte >> 3) & 7));
            text += static_cast<char>('0' + (byte & 7));
        } else {
            text += c;
        }
    }
    return text;
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    const std::string text(reinterpret_cast<const char*>(data), size);
    const std::vector<MountEntry> mounts = ParseMountInfo(text);
    if (mounts.size() > static_cast<size_t>(std::count(text.begin(), text.end(), '\n')) + 1) {
        std::abort();
    }
    for (const MountEntry& mount : mounts) {
        // A mount may have no source, never an empty mount point or type.
        if (mount.mountPoint.empty() || mount.fsType.empty()) {
            std::abort();
        }
        const std::string line = "1 2 " + std::to_string(mount.major) + ":" +
                                 std::to_string(mount.minor) + " / " + Escaped(mount.mountPoint) +
                                 " rw - " + Escaped(mount.fsType) + " " + Escaped(mount.source);
        const std::vector<MountEntry> again = ParseMountInfo(line);
        if (again.size() != 1 || !(again[0] == mount)) {
            std::abort();
        }
    }
    return 0;
}
