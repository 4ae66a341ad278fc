// SPDX-License-Identifier: GPL-3.0-or-later
// The audio module: what reads audio files with libsndfile (see kit/FeatureModule.h).
#pragma once

#include "encoding/WavDuration.h"

struct AudioModule {
    static constexpr char kModuleName[] = "audio";
    decltype(&WavDurationSeconds) wavDurationSeconds;
};
