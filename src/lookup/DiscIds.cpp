// SPDX-License-Identifier: GPL-3.0-or-later
#include "lookup/DiscIds.h"

#include <array>
#include <discid/discid.h>
#include <memory>

namespace {

struct DiscIdFree {
    void operator()(DiscId* disc) const { discid_free(disc); }
};

} // namespace

std::optional<DiscIds> ComputeDiscIds(const DiscToc& toc) {
    constexpr int32_t kMaxTracks = 99;
    if (toc.trackOffsets.empty() || toc.firstTrack < 1 || toc.LastTrack() > kMaxTracks) {
        return std::nullopt;
    }
    // libdiscid's layout: the lead-out first, then the offset of track n at index n.
    std::array<int, kMaxTracks + 1> offsets{};
    offsets[0] = toc.leadOut;
    for (size_t i = 0; i < toc.trackOffsets.size(); ++i) {
        offsets[toc.firstTrack + i] = toc.trackOffsets[i];
    }
    const std::unique_ptr<DiscId, DiscIdFree> disc(discid_new());
    if (!disc || discid_put(disc.get(), toc.firstTrack, toc.LastTrack(), offsets.data()) == 0) {
        return std::nullopt;
    }
    return DiscIds{discid_get_id(disc.get()), discid_get_freedb_id(disc.get())};
}
