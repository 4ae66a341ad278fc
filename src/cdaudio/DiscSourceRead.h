// What a disc look-up starts from, read from the disc in a drive (or a disc image libcdio opens):
// the table of contents of its audio session and its CD-Text, of the disc and of each track.
#pragma once

#include "lookup/DiscSource.h"

#include <optional>
#include <string>

// None for a device that cannot be opened or a disc without audio tracks.
std::optional<DiscSource> ReadDiscSource(const std::string& device);
