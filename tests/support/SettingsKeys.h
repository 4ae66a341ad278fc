// SPDX-License-Identifier: GPL-3.0-or-later
// How many keys the window writes into the settings file when it closes.
#pragma once

inline constexpr int kSettingsKeyCount = 25;
