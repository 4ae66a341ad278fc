// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <cstdint>

// The expander arrows, 11 x 11 palette images: pointing right for a collapsed superitem, down
// for an expanded one.
inline constexpr int32_t kArrowDataLength = 132;
extern const uint8_t CLVRightArrowData[kArrowDataLength];
extern const uint8_t CLVDownArrowData[kArrowDataLength];
