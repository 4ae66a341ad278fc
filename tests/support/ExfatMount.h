// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <cstdlib>
#include <filesystem>
#include <string>
#include <unistd.h>

// An exFAT file system, as on most USB sticks, mounted for one test: an image file on a loop
// device, mounted with exfat-fuse (the kernel's exfat driver need not be there). Needs root, a
// loop device and FUSE; Mounted() says whether it could be had. Unmounted at the end.
class ExfatMount {
public:
    explicit ExfatMount(const std::filesystem::path& folder) : dir(folder) {
        const std::filesystem::path image = folder.string() + ".img";
        std::filesystem::create_directories(folder);
        if (::geteuid() != 0) {
            return;
        }
        const std::string make = "truncate -s 32M '" + image.string() + "' && mkfs.exfat '" +
                                 image.string() + "' >/dev/null 2>&1";
        const std::string attach =
            "losetup -f --show '" + image.string() + "' > '" + image.string() + ".dev' 2>/dev/null";
        if (std::system(make.c_str()) != 0 || std::system(attach.c_str()) != 0) {
            return;
        }
        device = ReadLine(image.string() + ".dev");
        const std::string mount =
            "mount.exfat-fuse '" + device + "' '" + dir.string() + "' >/dev/null 2>&1";
        mounted = !device.empty() && std::system(mount.c_str()) == 0;
    }
    ~ExfatMount() {
        if (mounted) {
            (void)std::system(("umount -l '" + dir.string() + "'").c_str());
        }
        if (!device.empty()) {
            (void)std::system(("losetup -d '" + device + "' 2>/dev/null").c_str());
        }
    }
    ExfatMount(const ExfatMount&) = delete;
    ExfatMount& operator=(const ExfatMount&) = delete;
    [[nodiscard]] bool Mounted() const { return mounted; }

private:
    static std::string ReadLine(const std::string& file) {
        std::string line;
        if (FILE* in = std::fopen(file.c_str(), "r")) {
            char buffer[256] = {};
            if (std::fgets(buffer, sizeof buffer, in) != nullptr) {
                line = buffer;
            }
            std::fclose(in);
        }
        while (!line.empty() && (line.back() == '\n' || line.back() == ' ')) {
            line.pop_back();
        }
        return line;
    }

    std::filesystem::path dir;
    std::string device;
    bool mounted = false;
};
