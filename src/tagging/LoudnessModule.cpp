// SPDX-License-Identifier: GPL-3.0-or-later
// The program's side of the loudness module: loads it on the first album measured.
#include "tagging/LoudnessModule.h"

#include "kit/FeatureModule.h"

#include <QCoreApplication>

std::optional<Loudness>
MeasureAlbum(const std::vector<std::filesystem::path>& files,
             const std::function<void(std::size_t, const TrackLoudness&)>& measured,
             const std::function<bool()>& goOn) {
    if (const auto* module = kit::Feature<LoudnessModule>()) {
        return module->measureAlbum(files, measured, goOn);
    }
    for (std::size_t i = 0; i < files.size(); ++i) {
        measured(i,
                 {std::nullopt, QCoreApplication::translate(
                                    "LoudnessModule",
                                    "the loudness module (libvamble-loudness.so) cannot be loaded")
                                    .toStdString()});
    }
    return std::nullopt;
}
