// SPDX-License-Identifier: GPL-3.0-or-later
// Feeds arbitrary bytes to the reader of the kept list. It may not read out of bounds; a list it
// takes holds only absolute paths, clean texts and covers of their stated type, and gives the same
// rows again once written back.
#include "filelist/KeptList.h"
#include "kit/OutsideText.h"

#include <cstdlib>

namespace {

bool Clean(const std::string& text) {
    return kit::IsUtf8(text) && kit::CleanOutsideText(text) == text;
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    const KeptListRead read = ReadKeptList(
        QByteArray::fromRawData(reinterpret_cast<const char*>(data), static_cast<qsizetype>(size)));
    if (!read.rows.empty() && (read.newer || !read.damage.empty())) {
        std::abort();
    }
    for (const KeptRow& row : read.rows) {
        if (!row.file.is_absolute() || !Clean(row.saveAs) || !Clean(row.title) ||
            !Clean(row.fullTitle) || !Clean(row.failure) || row.genre < 0 || row.genre > 255 ||
            (row.release.frontCover && row.release.frontCover->mimeType != "image/jpeg" &&
             row.release.frontCover->mimeType != "image/png")) {
            std::abort();
        }
    }
    if (!read.rows.empty() && ReadKeptList(KeptListBytes(read.rows)).rows != read.rows) {
        std::abort();
    }
    return 0;
}
