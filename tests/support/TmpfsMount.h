// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <filesystem>
#include <string>
#include <sys/mount.h>

// A tmpfs mounted for one test, where the test may mount (as root); unmounted at the end.
class TmpfsMount {
public:
    TmpfsMount(const std::string& dir, unsigned long flags, const char* options) : dir_(dir) {
        std::filesystem::create_directory(dir);
        mounted_ = mount("tmpfs", dir.c_str(), "tmpfs", flags, options) == 0;
    }
    ~TmpfsMount() {
        if (mounted_) {
            umount2(dir_.c_str(), MNT_DETACH);
        }
    }
    TmpfsMount(const TmpfsMount&) = delete;
    TmpfsMount& operator=(const TmpfsMount&) = delete;
    [[nodiscard]] bool Mounted() const { return mounted_; }

private:
    std::string dir_;
    bool mounted_ = false;
};
