// SPDX-License-Identifier: GPL-3.0-or-later
#include "tagging/ReplayGain.h"

#include <array>
#include <charconv>

namespace {

// The number with `decimals` digits after a point, whatever the locale says.
std::string Decimal(double value, int decimals) {
    std::array<char, 64> text{};
    const auto written = std::to_chars(text.data(), text.data() + text.size(), value,
                                       std::chars_format::fixed, decimals);
    return {text.data(), written.ptr};
}

} // namespace

double ReplayGainDb(const Loudness& loudness) {
    return kReferenceLoudness - loudness.integrated;
}

std::vector<UserText> ReplayGainTexts(const Loudness& track, const std::optional<Loudness>& album) {
    std::vector<UserText> texts = {
        {"REPLAYGAIN_TRACK_GAIN", {Decimal(ReplayGainDb(track), 2) + " dB"}},
        {"REPLAYGAIN_TRACK_PEAK", {Decimal(track.peak, 6)}}};
    if (album) {
        texts.push_back({"REPLAYGAIN_ALBUM_GAIN", {Decimal(ReplayGainDb(*album), 2) + " dB"}});
        texts.push_back({"REPLAYGAIN_ALBUM_PEAK", {Decimal(album->peak, 6)}});
    }
    // What the gains bring the loudness to, so a player need not assume it.
    texts.push_back({"REPLAYGAIN_REFERENCE_LOUDNESS", {Decimal(kReferenceLoudness, 2) + " LUFS"}});
    return texts;
}
