// SPDX-License-Identifier: GPL-3.0-or-later
#include "cdaudio/AudioCdLister.h"

#include "cdaudio/AudioDisc.h"
#include "cdaudio/CdModule.h"
#include "cdaudio/CdMounts.h"
#include "cdaudio/MountTable.h"

#include <QFile>
#include <algorithm>
#include <cstdlib>
#include <optional>
#include <pthread.h>
#include <set>
#include <system_error>
#include <thread>
#include <unistd.h>

namespace {

struct ProbedDrive {
    std::string drive;
    std::string key;
    std::optional<DiscInfo> disc; // none when the drive holds no audio disc
};

// The file a device path resolves to, so that /dev/cdrom and /dev/sr0 compare equal.
std::string DeviceKey(const std::string& device) {
    std::error_code error;
    std::filesystem::path resolved = std::filesystem::weakly_canonical(device, error);
    return error ? device : resolved.string();
}

std::filesystem::path GvfsFolder() {
    const char* runtime = std::getenv("XDG_RUNTIME_DIR");
    if (runtime != nullptr && runtime[0] != '\0') {
        return std::filesystem::path(runtime) / "gvfs";
    }
    return std::filesystem::path("/run/user") / std::to_string(::getuid()) / "gvfs";
}

} // namespace

CdSearchPlaces SystemCdSearchPlaces() {
    return {ReadMountTable(), GvfsFolder(), ListCdDrives()};
}

std::vector<AudioCd> FindAudioCds(const CdSearchPlaces& places) {
    std::vector<AudioCd> cds = CdMountsInMountTable(ParseMountInfo(places.mountInfo));
    std::set<std::string> shown;
    for (const AudioCd& cd : cds) {
        shown.insert(DeviceKey(cd.device));
    }

    // Each drive is asked once, except those a mount already shows; the answers name the GVFS
    // folders and list the drives left over.
    std::vector<ProbedDrive> probed;
    std::set<std::string> asked = shown;
    for (const std::string& drive : places.drives) {
        std::string key = DeviceKey(drive);
        if (asked.insert(key).second) {
            probed.push_back({drive, std::move(key), ProbeAudioDisc(drive)});
        }
    }

    for (AudioCd& cd : CdMountsInGvfs(places.gvfsFolder)) {
        const std::string key = DeviceKey(cd.device);
        const auto drive = std::find_if(probed.begin(), probed.end(),
                                        [&](const ProbedDrive& p) { return p.key == key; });
        if (drive != probed.end() && drive->disc) {
            cd.label = drive->disc->Label();
            cd.tags = drive->disc->Tags();
            cd.disc = drive->disc;
        }
        shown.insert(key);
        cds.push_back(std::move(cd));
    }
    for (const ProbedDrive& drive : probed) {
        if (drive.disc && !shown.contains(drive.key)) {
            cds.push_back({drive.disc->Label(),
                           {},
                           drive.drive,
                           DeviceNumberOf(drive.drive),
                           drive.disc->Tags(),
                           drive.disc});
        }
    }
    return cds;
}

kit::Message AudioCdMessage(const AudioCd& cd, uint32_t what) {
    kit::Message message(what);
    message.Add("Volume", cd.label);
    message.Add("Device", cd.device);
    message.Add("dev_t", cd.deviceNumber);
    message.Add("Folder", kit::EntryRef{cd.folder});
    message.Add("Artist", cd.tags.artist);
    message.Add("Album", cd.tags.album);
    if (cd.disc) {
        message.Add("Disc", cd.disc->ToMessage());
    }
    return message;
}

std::optional<AudioCd> AudioCdFromMessage(const kit::Message& message) {
    AudioCd cd;
    if (message.Find("dev_t", &cd.deviceNumber) != kit::B_OK ||
        message.Find("Volume", &cd.label) != kit::B_OK) {
        return std::nullopt;
    }
    message.Find("Device", &cd.device);
    kit::EntryRef folder;
    if (message.Find("Folder", &folder) == kit::B_OK) {
        cd.folder = folder.path;
    }
    if (message.Find("Album", &cd.tags.album) == kit::B_OK) {
        message.Find("Artist", &cd.tags.artist);
    } else {
        cd.tags = SplitVolumeName(cd.label);
    }
    if (kit::Message disc; message.Find("Disc", &disc) == kit::B_OK) {
        cd.disc = DiscInfo::From(disc);
    }
    return cd;
}

void FindAudioCdsInBackground(
    std::function<void(const std::vector<AudioCd>& cds, const std::string& problem)> found) {
    // Left to end on its own: a drive that takes long to answer holds up neither the window nor
    // its closing; whoever `found` reports to drops reports that come too late.
    std::thread thread([found = std::move(found)] {
        const std::vector<AudioCd> cds = FindAudioCds(SystemCdSearchPlaces());
        found(cds, CdModuleProblem());
    });
    pthread_setname_np(thread.native_handle(), "cd_scan");
    thread.detach();
}
