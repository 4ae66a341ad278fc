// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include "kit/Bitmap.h"

// The 11 x 12 check mark shown in the first column of a finished row: an 8-bit palette image
// whose index 255 is transparent.
kit::Bitmap MakeCheckBitmap();

// The check mark every finished row shows; made by the application at start.
extern kit::Bitmap* checkBitmap;
