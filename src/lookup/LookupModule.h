// SPDX-License-Identifier: GPL-3.0-or-later
// The look-up module (see kit/FeatureModule.h): asking the services about discs with Qt Network
// and computing disc IDs with libdiscid, which only a disc that wants names needs.
#pragma once

#include "lookup/DiscLookupService.h"

#include <cstdint>
#include <memory>

// A new look-up over the public services (or those the environment names) with these settings;
// null when the module cannot be loaded. The module stays loaded for the rest of the run.
std::unique_ptr<DiscLookupService> CreateDiscLookup(const LookupSettings& settings);

// Loads the module and the libraries it needs, from any thread, so that a later
// CreateDiscLookup on the window's thread only creates the look-up.
void PreloadDiscLookup();

struct LookupModule {
    static constexpr char kModuleName[] = "lookup";
    static constexpr uint32_t kVersion = 1;
    // The caller owns the look-up; a plain pointer crosses the module's boundary.
    DiscLookupService* (*createDiscLookup)(const LookupSettings& settings);
};
