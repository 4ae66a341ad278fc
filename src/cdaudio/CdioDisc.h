// SPDX-License-Identifier: GPL-3.0-or-later
// Shared by the drive listing and the disc reader: a disc opened with libcdio (a drive, or a
// disc image such as a CUE sheet, which libcdio opens like a drive) and what it tells of itself.
#pragma once

#include "cdaudio/DiscInfo.h"

#include <cdio/cdio.h>
#include <memory>
#include <string>

struct CdioCloser {
    void operator()(CdIo_t* cdio) const { cdio_destroy(cdio); }
};
using CdioPtr = std::unique_ptr<CdIo_t, CdioCloser>;

// Opens the disc in a drive or a disc image; null when there is none.
CdioPtr OpenCdioDisc(const std::string& device);

// The disc's table of contents and CD-Text, of the disc and of each track.
DiscInfo ReadDiscInfo(CdIo_t* cdio);
