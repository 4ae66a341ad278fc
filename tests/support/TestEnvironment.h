// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <QString>
#include <QTemporaryDir>

// Gives the test program its own temporary home, configuration, cache and runtime folders, so that
// no test reads or writes the user's real settings and no two test programs share files. Must be
// created before the Qt application object.
class TestEnvironment {
public:
    TestEnvironment();
    bool IsValid() const { return home.isValid(); }
    QString Home() const { return home.path(); }

private:
    QTemporaryDir home;
};
