// SPDX-License-Identifier: GPL-3.0-or-later
// The tags module's own side: the table the program loads.
#include "kit/FeatureModule.h"
#include "tagging/TagsModule.h"

VAMBLE_FEATURE_TABLE(TagsModule, &module::WriteID3v2Tag, &module::ReadWavTags)
