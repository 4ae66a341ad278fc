// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include "kit/FourCC.h"

namespace kit {

// Command codes the platform itself defines and sends.
inline constexpr uint32_t B_ABOUT_REQUESTED = FourCC("_ABR");
inline constexpr uint32_t B_QUIT_REQUESTED = FourCC("_QRQ");
inline constexpr uint32_t B_REFS_RECEIVED = FourCC("_RRC");
inline constexpr uint32_t B_SIMPLE_DATA = FourCC("DATA");
inline constexpr uint32_t B_SELECT_ALL = FourCC("SALL");

} // namespace kit
