// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include "kit/Color.h"

// Colours of the column list's bevelled parts: the header cells and the scroll corner.
inline constexpr kit::Color kCLVFace{216, 216, 216, 255};
inline constexpr kit::Color kCLVLightEdge{255, 255, 255, 255};
inline constexpr kit::Color kCLVInnerShadow{194, 194, 194, 255};
inline constexpr kit::Color kCLVDarkEdge{152, 152, 152, 255};
inline constexpr kit::Color kCLVInactiveFace{240, 240, 240, 255};
// A pressed label, a column edge being resized, the outline of a dragged column.
inline constexpr kit::Color kCLVHighlight{0, 0, 229, 255};
