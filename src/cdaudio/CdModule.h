// SPDX-License-Identifier: GPL-3.0-or-later
// The CD modules (see kit/FeatureModule.h): "cd" finds audio discs in the drives with libcdio,
// which the program does at every start; "cdread" reads discs with cdparanoia and writes their
// tracks with libsndfile, which only a disc chosen to be read needs.
#pragma once

#include "cdaudio/AudioDisc.h"
#include "cdaudio/DiscReader.h"

#include <cstdint>

// The modules' own code, which their tables hold.
namespace module {
std::vector<std::string> ListCdDrives();
std::optional<DiscInfo> ProbeAudioDisc(const std::string& device);
DiscReadResult ReadDisc(const std::string& device, const std::filesystem::path& cacheFolder,
                        const std::atomic<bool>& stop, const DiscReadProgressFunction& progress,
                        const DriveFaults& faults);
} // namespace module

struct CdModule {
    static constexpr char kModuleName[] = "cd";
    static constexpr uint32_t kVersion = 1;
    decltype(&ListCdDrives) listCdDrives;
    decltype(&ProbeAudioDisc) probeAudioDisc;
};

// Why drives cannot be asked for discs (the module that does it cannot be loaded); empty when
// they can.
std::string CdModuleProblem();

struct CdReadModule {
    static constexpr char kModuleName[] = "cdread";
    static constexpr uint32_t kVersion = 1;
    decltype(&ReadDisc) readDisc;
};
