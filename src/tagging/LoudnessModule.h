// SPDX-License-Identifier: GPL-3.0-or-later
// The loudness module: what measures loudness with libsndfile and libebur128 (see
// kit/FeatureModule.h).
#pragma once

#include "tagging/ReplayGain.h"

#include <cstdint>

// The module's own code, which its table holds.
namespace module {
std::optional<Loudness>
MeasureAlbum(const std::vector<std::filesystem::path>& files,
             const std::function<void(std::size_t, const TrackLoudness&)>& measured,
             const std::function<bool()>& goOn);
} // namespace module

struct LoudnessModule {
    static constexpr char kModuleName[] = "loudness";
    static constexpr uint32_t kVersion = 1;
    decltype(&MeasureAlbum) measureAlbum;
};
