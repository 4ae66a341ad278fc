// SPDX-License-Identifier: GPL-3.0-or-later
// Audio CDs that something else has already mounted as a folder of WAV track files.
#pragma once

#include "cdaudio/AudioCd.h"
#include "cdaudio/MountTable.h"

#include <filesystem>
#include <string>
#include <string_view>
#include <vector>

// Mounts of type "cdda" or "cdfs" that have a folder "wav": one CD each, labelled with the
// mount point's own folder name (split into artist and album), its tracks in that "wav" folder,
// in the table's order. A device mounted twice is listed once, at its first mount.
std::vector<AudioCd> CdMountsInMountTable(const std::vector<MountEntry>& mounts);

// The desktop's (GVFS) audio CD folders inside its mount folder (normally
// $XDG_RUNTIME_DIR/gvfs): each folder named "cdda:host=DEVICE", such as "cdda:host=sr0", is one
// CD in the drive /dev/DEVICE, its track files directly inside. Labelled "Audio CD"; sorted by
// folder name.
std::vector<AudioCd> CdMountsInGvfs(const std::filesystem::path& gvfsFolder);

// The drive a GVFS folder name stands for ("cdda:host=sr0" gives "/dev/sr0"); empty when the
// name is not a GVFS audio CD's.
std::string DeviceOfGvfsFolder(std::string_view folderName);

// The device number of a device file, or of the volume holding any other file; 0 when the path
// cannot be read.
int32_t DeviceNumberOf(const std::filesystem::path& path);
