// SPDX-License-Identifier: GPL-3.0-or-later
#include "cdaudio/CdMounts.h"

#include <QByteArray>
#include <QFile>
#include <QUrl>
#include <algorithm>
#include <set>
#include <sys/stat.h>
#include <sys/sysmacros.h>
#include <system_error>

namespace {

bool IsDirectory(const std::filesystem::path& path) {
    std::error_code error;
    return std::filesystem::is_directory(path, error);
}

} // namespace

int32_t EncodeDeviceNumber(uint32_t major, uint32_t minor) {
    const uint32_t encoded = (minor & 0xFFU) | ((major & 0xFFFU) << 8) | ((minor & ~0xFFU) << 12);
    return static_cast<int32_t>(encoded);
}

int32_t DeviceNumberOf(const std::filesystem::path& path) {
    struct stat info {};
    if (::stat(path.c_str(), &info) != 0) {
        return 0;
    }
    const dev_t device =
        S_ISBLK(info.st_mode) || S_ISCHR(info.st_mode) ? info.st_rdev : info.st_dev;
    return EncodeDeviceNumber(major(device), minor(device));
}

std::vector<AudioCd> CdMountsInMountTable(const std::vector<MountEntry>& mounts) {
    std::vector<AudioCd> cds;
    std::set<std::pair<uint32_t, uint32_t>> devices;
    for (const MountEntry& mount : mounts) {
        if (mount.fsType != "cdda" && mount.fsType != "cdfs") {
            continue;
        }
        const std::filesystem::path root(mount.mountPoint);
        const std::filesystem::path tracks = root / "wav";
        // A disc mounted at two places (a bind mount, say) is one CD.
        if (!IsDirectory(tracks) || !devices.emplace(mount.major, mount.minor).second) {
            continue;
        }
        // The name is shown and becomes tags, so it is made text; the folder keeps its bytes.
        std::string label = QFile::decodeName(root.filename().c_str()).toStdString();
        if (label.empty()) {
            label = kUnnamedCdLabel;
        }
        ArtistAlbum tags = SplitVolumeName(label);
        cds.push_back({std::move(label),
                       tracks,
                       mount.source,
                       EncodeDeviceNumber(mount.major, mount.minor),
                       std::move(tags),
                       {}});
    }
    return cds;
}

std::string DeviceOfGvfsFolder(std::string_view folderName) {
    constexpr std::string_view kPrefix = "cdda:host=";
    if (!folderName.starts_with(kPrefix) || folderName.size() == kPrefix.size()) {
        return {};
    }
    // GVFS percent-encodes characters of the host that a file name cannot hold.
    const std::string_view host = folderName.substr(kPrefix.size());
    const std::string device =
        QUrl::fromPercentEncoding(QByteArray(host.data(), static_cast<qsizetype>(host.size())))
            .toStdString();
    return device.starts_with('/') ? device : "/dev/" + device;
}

std::vector<AudioCd> CdMountsInGvfs(const std::filesystem::path& gvfsFolder) {
    std::vector<AudioCd> cds;
    std::error_code error;
    std::filesystem::directory_iterator entries(gvfsFolder, error);
    if (error) {
        return cds;
    }
    for (; entries != std::filesystem::directory_iterator(); entries.increment(error)) {
        const std::filesystem::path& folder = entries->path();
        std::string device = DeviceOfGvfsFolder(folder.filename().native());
        if (device.empty() || !IsDirectory(folder)) {
            continue;
        }
        const int32_t number = DeviceNumberOf(device);
        cds.push_back({std::string(kUnnamedCdLabel),
                       folder,
                       std::move(device),
                       number,
                       SplitVolumeName(kUnnamedCdLabel),
                       {}});
    }
    std::sort(cds.begin(), cds.end(),
              [](const AudioCd& a, const AudioCd& b) { return a.folder < b.folder; });
    return cds;
}
