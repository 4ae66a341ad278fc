// SPDX-License-Identifier: GPL-3.0-or-later
// The program's side of the look-up module, loaded when a disc first wants names.
#include "lookup/LookupModule.h"

#include "kit/FeatureModule.h"

std::unique_ptr<DiscLookupService> CreateDiscLookup(const LookupSettings& settings) {
    const auto* module = kit::Feature<LookupModule>();
    return std::unique_ptr<DiscLookupService>(module != nullptr ? module->createDiscLookup(settings)
                                                                : nullptr);
}

void PreloadDiscLookup() {
    kit::Feature<LookupModule>();
}
