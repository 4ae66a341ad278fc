// SPDX-License-Identifier: GPL-3.0-or-later
// The look-up module's own side: the table the program loads.
#include "kit/FeatureModule.h"
#include "lookup/DiscLookup.h"
#include "lookup/LookupModule.h"

namespace {

DiscLookupService* NewDiscLookup(const LookupSettings& settings) {
    return new DiscLookup(LookupServices::FromEnvironment(), settings);
}

} // namespace

VAMBLE_FEATURE_TABLE(LookupModule, &NewDiscLookup)
