// SPDX-License-Identifier: GPL-3.0-or-later
// The "cd" module's own side: the table the program loads.
#include "cdaudio/CdModule.h"
#include "kit/FeatureModule.h"

VAMBLE_FEATURE_TABLE(CdModule, &module::ListCdDrives, &module::ProbeAudioDisc)
