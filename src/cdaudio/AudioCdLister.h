// Finds the audio CDs to offer: CDs already mounted as folders of track files (a "cdda" or
// "cdfs" mount, the desktop's GVFS CD folders) and, for desktops without such mounts, every
// drive holding an audio disc, to be read into a folder when chosen.
#pragma once

#include "cdaudio/AudioCd.h"

#include <filesystem>
#include <string>
#include <vector>

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
