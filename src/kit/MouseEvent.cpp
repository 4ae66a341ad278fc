// SPDX-License-Identifier: GPL-3.0-or-later
#include "kit/MouseEvent.h"

namespace kit {

uint32_t ButtonsFromQt(Qt::MouseButtons buttons) {
    uint32_t result = 0;
    if (buttons & Qt::LeftButton) {
        result |= B_PRIMARY_MOUSE_BUTTON;
    }
    if (buttons & Qt::RightButton) {
        result |= B_SECONDARY_MOUSE_BUTTON;
    }
    if (buttons & Qt::MiddleButton) {
        result |= B_TERTIARY_MOUSE_BUTTON;
    }
    return result;
}

uint32_t ModifiersFromQt(Qt::KeyboardModifiers modifiers) {
    uint32_t result = 0;
    if (modifiers & Qt::ShiftModifier) {
        result |= B_SHIFT_KEY;
    }
    if (modifiers & Qt::ControlModifier) {
        result |= B_CONTROL_KEY | B_OPTION_KEY | B_COMMAND_KEY;
    }
    return result;
}

} // namespace kit
