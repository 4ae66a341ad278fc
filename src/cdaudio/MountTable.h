// SPDX-License-Identifier: GPL-3.0-or-later
// The mount table as the kernel lists it in /proc/self/mountinfo, one mount a line:
//   36 35 98:0 /mnt1 /mnt2 rw,noatime master:1 - ext3 /dev/root rw,errors=continue
// (mount id, parent id, major:minor, root, mount point, options, optional fields, "-", file
// system type, source, super options). Blanks, tabs, newlines and backslashes inside a field
// are written as octal escapes such as \040.
#pragma once

#include <cstdint>
#include <string>
#include <string_view>
#include <vector>

struct MountEntry {
    uint32_t major = 0;
    uint32_t minor = 0;
    std::string mountPoint;
    std::string fsType;
    std::string source; // the device or other source the file system was mounted from
    bool operator==(const MountEntry&) const = default;
};

// The text of this process's mount table; empty when it cannot be read.
std::string ReadMountTable();

// The mounts of the text in its order. Lines that do not have the fields above, or whose mount
// point or type is empty, are left out; the source may be empty.
std::vector<MountEntry> ParseMountInfo(std::string_view text);

// A field with its octal escapes (a backslash and three octal digits) replaced by the byte they
// stand for; any other backslash stays as it is.
std::string UnescapeMountField(std::string_view field);
