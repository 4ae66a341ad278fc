// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <QString>

// Whether a graphical display is named at all: DISPLAY, WAYLAND_DISPLAY or a chosen Qt platform
// plugin (QT_QPA_PLATFORM, e.g. offscreen or vnc, which needs no display).
bool HasDisplay();

// While it lives, Qt failing to open the display ends the program with status 1 and one line
// that names the display, instead of Qt's abort with its advice to reinstall. Qt's other messages
// meanwhile are held back and passed on when the guard ends, so that a failure prints nothing
// else. Lives across the construction of the application object only; one at a time. The line
// is `cannotOpen` (already in the user's language) with the display's name for its "%1".
class DisplayOpenGuard {
public:
    explicit DisplayOpenGuard(const QString& cannotOpen);
    ~DisplayOpenGuard();

    DisplayOpenGuard(const DisplayOpenGuard&) = delete;
    DisplayOpenGuard& operator=(const DisplayOpenGuard&) = delete;
};
