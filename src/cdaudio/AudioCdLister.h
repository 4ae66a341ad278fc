// SPDX-License-Identifier: GPL-3.0-or-later
// Finds the audio CDs to offer: CDs already mounted as folders of track files (a "cdda" or
// "cdfs" mount, the desktop's GVFS CD folders) and, for desktops without such mounts, every
// drive holding an audio disc, to be read into a folder when chosen.
#pragma once

#include "cdaudio/AudioCd.h"
#include "kit/Message.h"

#include <cstdint>
#include <filesystem>
#include <functional>
#include <optional>
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

// A CD as a message: "Volume" string (its label), "Device" string, "dev_t" int32, "Folder" ref
// (empty for a disc to read), "Artist" and "Album" strings, "Disc" message when the drive was
// asked.
kit::Message AudioCdMessage(const AudioCd& cd, uint32_t what);
// The CD a message names: "Volume" and "dev_t" are needed; without "Album" the artist and album
// come from the label split as "Artist - Album".
std::optional<AudioCd> AudioCdFromMessage(const kit::Message& message);

// Runs FindAudioCds on this system's places on a thread of its own, since asking drives and the
// desktop's mounts can take seconds, and hands `found` (on that thread) the CDs and why drives
// could not be asked (empty when they could).
void FindAudioCdsInBackground(
    std::function<void(const std::vector<AudioCd>& cds, const std::string& problem)> found);
