// SPDX-License-Identifier: GPL-3.0-or-later
// The audio module: what reads audio files with libsndfile (see kit/FeatureModule.h).
#pragma once

#include "encoding/WavDuration.h"

#include <cstdint>

// The module's own code, which its table holds.
namespace module {
std::optional<double> WavDurationSeconds(const std::filesystem::path& path);
} // namespace module

struct AudioModule {
    static constexpr char kModuleName[] = "audio";
    static constexpr uint32_t kVersion = 1;
    decltype(&WavDurationSeconds) wavDurationSeconds;
};
