// SPDX-License-Identifier: GPL-3.0-or-later
// The loudness module's own side: the table the program loads.
#include "kit/FeatureModule.h"
#include "tagging/LoudnessModule.h"

VAMBLE_FEATURE_TABLE(LoudnessModule, &module::MeasureAlbum)
