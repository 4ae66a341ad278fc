// SPDX-License-Identifier: GPL-3.0-or-later
// The program's side of the CD modules: each is loaded when first needed.
#include "cdaudio/CdModule.h"

#include "kit/FeatureModule.h"

#include <QCoreApplication>

std::vector<std::string> ListCdDrives() {
    const auto* module = kit::Feature<CdModule>();
    return module != nullptr ? module->listCdDrives() : std::vector<std::string>();
}

std::string CdModuleProblem() {
    return kit::Feature<CdModule>() != nullptr
               ? std::string()
               : QCoreApplication::translate(
                     "CdModule", "CDs in drives cannot be found: the program's part that asks "
                                 "drives cannot be loaded.")
                     .toStdString();
}

std::optional<DiscInfo> ProbeAudioDisc(const std::string& device) {
    const auto* module = kit::Feature<CdModule>();
    return module != nullptr ? module->probeAudioDisc(device) : std::nullopt;
}

DiscReadResult ReadDisc(const std::string& device, const std::filesystem::path& cacheFolder,
                        const std::atomic<bool>& stop, const DiscReadProgressFunction& progress,
                        const DriveFaults& faults) {
    const auto* module = kit::Feature<CdReadModule>();
    if (module == nullptr) {
        DiscReadResult failed;
        failed.error = QCoreApplication::translate(
                           "CdModule", "The program's part that reads discs cannot be loaded.")
                           .toStdString();
        return failed;
    }
    return module->readDisc(device, cacheFolder, stop, progress, faults);
}
