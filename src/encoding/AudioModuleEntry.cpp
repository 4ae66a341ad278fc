// SPDX-License-Identifier: GPL-3.0-or-later
// The audio module's own side: the table the program loads.
#include "encoding/AudioModule.h"
#include "kit/FeatureModule.h"

VAMBLE_FEATURE_TABLE(AudioModule, &module::WavDurationSeconds)
