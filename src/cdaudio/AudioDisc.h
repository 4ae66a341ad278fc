// CD drives and the audio discs in them, through libcdio.
#pragma once

#include <optional>
#include <string>
#include <vector>

// The CD drives of the system, such as "/dev/sr0" (a drive may appear under several names).
std::vector<std::string> ListCdDrives();

// The name of the disc in a drive (or in a disc image libcdio opens, such as a CUE sheet) when
// the disc has at least one audio track: its CD-Text "PERFORMER - TITLE", else "Audio CD".
// None for an empty drive, a disc without audio tracks or a device that cannot be opened.
std::optional<std::string> ProbeAudioDisc(const std::string& device);
