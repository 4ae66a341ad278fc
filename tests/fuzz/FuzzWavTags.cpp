// SPDX-License-Identifier: GPL-3.0-or-later
// Feeds arbitrary files to the reader of a WAV file's own tags: chunk sizes that reach anywhere,
// INFO lists and id3 chunks cut or lying about their sizes, and larger than the reader takes (the
// fuzzer is run with inputs of a few megabytes and a bound on its memory). Nothing may crash, a
// file called damaged gives no tags, and every text is free of control and direction characters.
#include "kit/OutsideText.h"
#include "tagging/TagsModule.h"

#include <cstdlib>
#include <string>
#include <sys/mman.h>
#include <unistd.h>

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    static const int fd = ::memfd_create("fuzz.wav", MFD_CLOEXEC);
    if (fd < 0 || ::ftruncate(fd, 0) != 0 ||
        ::pwrite(fd, data, size, 0) != static_cast<ssize_t>(size)) {
        std::abort();
    }
    const WavTagsRead read = module::ReadWavTags("/proc/self/fd/" + std::to_string(fd));
    if (!read.damage.empty() && !read.tags.Empty()) {
        std::abort();
    }
    for (const std::string* text : {&read.tags.title, &read.tags.artist, &read.tags.album,
                                    &read.tags.comment, &read.tags.genre, &read.tags.year}) {
        if (kit::CleanOutsideText(*text) != *text) {
            std::abort();
        }
    }
    return 0;
}
