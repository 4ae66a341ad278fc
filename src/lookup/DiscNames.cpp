#include "lookup/DiscNames.h"

#include <algorithm>
#include <cctype>

std::string ReleaseNames::Year() const {
    constexpr size_t kYearLength = 4;
    if (date.size() < kYearLength ||
        !std::all_of(date.begin(), date.begin() + kYearLength,
                     [](unsigned char c) { return std::isdigit(c) != 0; })) {
        return {};
    }
    return date.substr(0, kYearLength);
}

const TrackNames* ReleaseNames::Track(int32_t position) const {
    const auto found = std::find_if(tracks.begin(), tracks.end(), [position](const TrackNames& t) {
        return t.position == position;
    });
    return found == tracks.end() ? nullptr : &*found;
}
