// SPDX-License-Identifier: GPL-3.0-or-later
#include "support/TestEnvironment.h"

#include <cstdlib>

TestEnvironment::TestEnvironment() {
    if (!home.isValid()) {
        return;
    }
    const QByteArray root = home.path().toLocal8Bit();
    setenv("HOME", root.constData(), 1);
    setenv("XDG_CONFIG_HOME", (root + "/config").constData(), 1);
    setenv("XDG_CACHE_HOME", (root + "/cache").constData(), 1);
    setenv("XDG_STATE_HOME", (root + "/state").constData(), 1);
    setenv("XDG_RUNTIME_DIR", root.constData(), 1);
    // No test reaches the desktop's session bus: a test that needs one starts its own.
    setenv("DBUS_SESSION_BUS_ADDRESS", ("unix:path=" + root + "/no-bus").constData(), 1);
}
