// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include "kit/Geometry.h"

#include <Qt>
#include <cstdint>

namespace kit {

inline constexpr uint32_t B_PRIMARY_MOUSE_BUTTON = 0x01;
inline constexpr uint32_t B_SECONDARY_MOUSE_BUTTON = 0x02;
inline constexpr uint32_t B_TERTIARY_MOUSE_BUTTON = 0x04;

inline constexpr uint32_t B_SHIFT_KEY = 0x01;
inline constexpr uint32_t B_COMMAND_KEY = 0x02;
inline constexpr uint32_t B_CONTROL_KEY = 0x04;
inline constexpr uint32_t B_OPTION_KEY = 0x40;

// A mouse report as a view receives it: where (in the view's coordinates), the buttons held,
// the modifier keys and, for a press, how many presses in quick succession it ends.
struct MouseEvent {
    Point where;
    uint32_t buttons = 0;
    uint32_t modifiers = 0;
    int32_t clicks = 1;
};

uint32_t ButtonsFromQt(Qt::MouseButtons buttons);
// Shift is B_SHIFT_KEY. Ctrl is B_CONTROL_KEY and also B_OPTION_KEY, the key whose click adds a
// row to a selection or takes it out (Ctrl-click, as Linux users expect); Ctrl is the command
// key of shortcuts too, so it is B_COMMAND_KEY as well.
uint32_t ModifiersFromQt(Qt::KeyboardModifiers modifiers);

} // namespace kit
