// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include "kit/FourCC.h"

// Commands the main window's controls and menus send to it.
inline constexpr uint32_t MSG_ENCODE = kit::FourCC("encd");
inline constexpr uint32_t MSG_STOP = kit::FourCC("stop");
inline constexpr uint32_t MSG_ENABLE_VBR = kit::FourCC("enbl");
inline constexpr uint32_t MSG_SELECT_DIR = kit::FourCC("gdir");
inline constexpr uint32_t MSG_APPLY_TAGS = kit::FourCC("appl");
inline constexpr uint32_t MSG_REMOVE_ITEMS = kit::FourCC("ritm");
inline constexpr uint32_t MSG_TOGGLE_COLUMN = kit::FourCC("mEnU");
inline constexpr uint32_t MSG_RESCAN_CDS = kit::FourCC("scan");
inline constexpr uint32_t MSG_CD_VOLUME = kit::FourCC("cdda");
inline constexpr uint32_t MSG_LOOK_UP_AGAIN = kit::FourCC("lkup");
