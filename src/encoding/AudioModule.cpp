// SPDX-License-Identifier: GPL-3.0-or-later
// The program's side of the audio module: loads it on the first audio file read.
#include "encoding/AudioModule.h"

#include "kit/FeatureModule.h"

std::optional<double> WavDurationSeconds(const std::filesystem::path& path) {
    const auto* module = kit::Feature<AudioModule>();
    return module != nullptr ? module->wavDurationSeconds(path) : std::nullopt;
}
