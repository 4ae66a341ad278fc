// SPDX-License-Identifier: GPL-3.0-or-later
// Finds the audio CDs to offer: CDs already mounted as folders of track files (a "cdda" or
// "cdfs" mount, the desktop's GVFS CD folders) and, for desktops without such mounts, every
// drive holding an audio disc, to be read into a folder when chosen.
#pragma once

#include "cdaudio/AudioCd.h"
#include "kit/FourCC.h"
#include "kit/Message.h"

#include <cstdint>
#include <filesystem>
#include <memory>
#include <string>
#include <vector>

namespace kit {
class Messenger;
}

// The CDs a scan found: "scan" int32 (the number the scan was started with) and one "cd" message
// per CD (AudioCdMessage), in FindAudioCds's order; "problem" string when drives could not be
// asked, and why.
inline constexpr uint32_t MSG_CD_SCAN_DONE = kit::FourCC("cdsc");

// Where to look.
struct CdSearchPlaces {
    std::string mountInfo;            // the text of /proc/self/mountinfo
    std::filesystem::path gvfsFolder; // the desktop's GVFS mount folder; empty for none
    std::vector<std::string> drives;  // CD drives (or disc images) to ask for an audio disc
};

// This system's places: its mount table, $XDG_RUNTIME_DIR/gvfs and libcdio's drives.
CdSearchPlaces SystemCdSearchPlaces();

// The CDs in the order: mounts of the mount table, GVFS folders, drives. A GVFS folder takes the
// name of the disc in its drive. A drive already shown through a mount (compared by the device
// file it resolves to), or named twice, is listed once.
std::vector<AudioCd> FindAudioCds(const CdSearchPlaces& places);

// A CD as a message: "Volume" string (its label), "Device" string, "dev_t" int32, "Folder" ref
// (empty for a disc to read), "Artist" and "Album" strings.
kit::Message AudioCdMessage(const AudioCd& cd, uint32_t what);

// Runs FindAudioCds on this system's places on a thread of its own, since asking drives and the
// desktop's mounts can take seconds, and posts MSG_CD_SCAN_DONE through the messenger.
void FindAudioCdsInBackground(std::shared_ptr<kit::Messenger> messenger, int32_t scan);
