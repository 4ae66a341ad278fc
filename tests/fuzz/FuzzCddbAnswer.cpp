// Feeds arbitrary text to the readers of gnudb's answers. Neither may read out of bounds; every
// match names a category and an entry without blanks, and an entry read has names and tracks
// numbered from 1 in order.
#include "lookup/CddbAnswer.h"

#include <cstdlib>
#include <string_view>

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    const std::string_view text(reinterpret_cast<const char*>(data), size);
    const CddbQueryAnswer query = ParseCddbQuery(text);
    for (const CddbMatch& match : query.matches) {
        if (match.category.empty() || match.category.find(' ') != std::string::npos ||
            match.discId.find(' ') != std::string::npos) {
            std::abort();
        }
    }
    const CddbReadAnswer read = ParseCddbRead(text);
    if (read.release.has_value() == !read.error.empty()) {
        std::abort();
    }
    if (read.release) {
        for (size_t i = 0; i < read.release->tracks.size(); ++i) {
            if (read.release->tracks[i].position != static_cast<int32_t>(i) + 1) {
                std::abort();
            }
        }
    }
    return 0;
}
