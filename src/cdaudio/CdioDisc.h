// Shared by the drive listing and the disc reader: a disc opened with libcdio (a drive, or a
// disc image such as a CUE sheet, which libcdio opens like a drive) and the name it tells.
#pragma once

#include <cdio/cdio.h>
#include <memory>
#include <string>

struct CdioCloser {
    void operator()(CdIo_t* cdio) const { cdio_destroy(cdio); }
};
using CdioPtr = std::unique_ptr<CdIo_t, CdioCloser>;

// Opens the disc in a drive or a disc image; null when there is none.
CdioPtr OpenCdioDisc(const std::string& device);

// "PERFORMER - TITLE" from the disc's CD-Text; the title alone when no performer is given;
// "Audio CD" without a title.
std::string CdTextName(CdIo_t* cdio);
