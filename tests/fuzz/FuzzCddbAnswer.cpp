// SPDX-License-Identifier: GPL-3.0-or-later
// Feeds arbitrary bytes to the readers of gnudb's answers. Neither may read out of bounds; every
// match names a category and an entry of their shapes (nothing a URL or a path could be led
// astray by), and an entry read has tracks numbered from 1 in order and names that are UTF-8
// without control or direction characters.
#include "kit/OutsideText.h"
#include "lookup/CddbAnswer.h"

#include <algorithm>
#include <cstdlib>
#include <string_view>

namespace {

bool Clean(const std::string& text) {
    return kit::IsUtf8(text) && kit::CleanOutsideText(text) == text;
}

bool LowerHexOrLetters(const std::string& text, size_t length) {
    return (length == 0 || text.size() == length) && !text.empty() &&
           std::all_of(text.begin(), text.end(),
                       [](char c) { return (c >= 'a' && c <= 'z') || (c >= '0' && c <= '9'); });
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    const std::string_view text(reinterpret_cast<const char*>(data), size);
    const CddbQueryAnswer query = ParseCddbQuery(text);
    for (const CddbMatch& match : query.matches) {
        if (!LowerHexOrLetters(match.category, 0) || !LowerHexOrLetters(match.discId, 8) ||
            !Clean(match.title)) {
            std::abort();
        }
    }
    const CddbReadAnswer read = ParseCddbRead(text);
    if (read.release.has_value() == !read.error.empty()) {
        std::abort();
    }
    if (read.release) {
        if (!Clean(read.release->title) || !Clean(read.release->artist) ||
            read.release->tracks.size() > 99) {
            std::abort();
        }
        for (size_t i = 0; i < read.release->tracks.size(); ++i) {
            const TrackNames& track = read.release->tracks[i];
            if (track.position != static_cast<int32_t>(i) + 1 || !Clean(track.title) ||
                !Clean(track.artist)) {
                std::abort();
            }
        }
    }
    return 0;
}
