// SPDX-License-Identifier: GPL-3.0-or-later
#include "encoding/AudioModule.h"

#include <sndfile.h>

std::optional<double> module::WavDurationSeconds(const std::filesystem::path& path) {
    SF_INFO info{};
    SNDFILE* file = sf_open(path.c_str(), SFM_READ, &info);
    if (!file) {
        return std::nullopt;
    }
    sf_close(file);
    if (info.samplerate <= 0 || info.frames < 0) {
        return std::nullopt;
    }
    return static_cast<double>(info.frames) / info.samplerate;
}
