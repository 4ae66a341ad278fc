// SPDX-License-Identifier: GPL-3.0-or-later
// Progress on the program's launcher or task-bar entry: the launcher-entry signal that the
// Plasma task manager and several docks show.
#pragma once

#include <QDBusConnection>
#include <optional>

class LauncherProgress {
public:
    // Signals on the given bus, or on the session bus when none is given (looked up when first
    // needed).
    explicit LauncherProgress(std::optional<QDBusConnection> bus = std::nullopt);

    // Shows the fraction, 0 to 1, on the launcher.
    void Show(double fraction);
    // Takes the progress off the launcher.
    void Hide();

    // The object path the signal is sent from.
    static QString ObjectPath();

private:
    void Send(double fraction, bool visible);

    std::optional<QDBusConnection> bus;
};
