// SPDX-License-Identifier: GPL-3.0-or-later
// Feeds arbitrary "Tags from File Names" patterns and paths to the parser. A pattern either says
// why it cannot be used and matches nothing, or matches without crashing; what a match reads is
// trimmed, never spans folders, and a track is never negative.
#include "filelist/FileNameTags.h"

#include <cstdlib>
#include <fuzzer/FuzzedDataProvider.h>

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    FuzzedDataProvider input(data, size);
    const std::string pattern = input.ConsumeRandomLengthString(200);
    const std::string path = input.ConsumeRemainingBytesAsString();
    const FileNameTagPattern parsed(pattern);
    const std::optional<FoundTags> found = parsed.Match(path);
    if (!parsed.Error().empty() && found) {
        std::abort();
    }
    if (found) {
        for (const std::string* value :
             {&found->title, &found->artist, &found->album, &found->year}) {
            if (value->find('/') != std::string::npos || value->starts_with(' ') ||
                value->ends_with(' ')) {
                std::abort();
            }
        }
        if (found->track < -1) {
            std::abort();
        }
    }
    return 0;
}
