// SPDX-License-Identifier: GPL-3.0-or-later
// CD drives and the audio discs in them, through libcdio.
#pragma once

#include "cdaudio/DiscInfo.h"

#include <optional>
#include <string>
#include <vector>

// The CD drives of the system, such as "/dev/sr0" (a drive may appear under several names).
std::vector<std::string> ListCdDrives();

// The disc in a drive (or in a disc image libcdio opens, such as a CUE sheet) when it has at
// least one audio track. None for an empty drive, a disc without audio tracks or a device that
// cannot be opened.
std::optional<DiscInfo> ProbeAudioDisc(const std::string& device);
