// SPDX-License-Identifier: GPL-3.0-or-later
// The marks of rows that are not done: a warning triangle for a row whose output file clashes,
// a red cross for a row whose encoding failed. Both 11 × 12 like the check mark, made once and
// shared by every row.
#pragma once

#include "kit/Bitmap.h"

const kit::Bitmap& ClashMark();
const kit::Bitmap& FailureMark();
