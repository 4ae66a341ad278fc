// SPDX-License-Identifier: GPL-3.0-or-later
// The loudness module: what measures loudness with libsndfile and libebur128 (see
// kit/FeatureModule.h).
#pragma once

#include "tagging/ReplayGain.h"

struct LoudnessModule {
    static constexpr char kModuleName[] = "loudness";
    decltype(&MeasureAlbum) measureAlbum;
};
