// SPDX-License-Identifier: GPL-3.0-or-later
// Desktop notifications through the freedesktop notification service on the session bus.
#pragma once

#include <QDBusConnection>
#include <QObject>
#include <QString>
#include <optional>

class DesktopNotifier {
public:
    // Talks on the given bus, or on the session bus when none is given (looked up when first
    // needed, so a program that never notifies never connects).
    explicit DesktopNotifier(std::optional<QDBusConnection> bus = std::nullopt);

    // Shows a notification; without a bus or a notification service nothing happens, and the
    // call never waits for an answer.
    void Notify(const QString& summary, const QString& body);

private:
    std::optional<QDBusConnection> bus;
    // Parent of the answers awaited, which go with the notifier.
    QObject pendingAnswers;
    // The last notification shown, replaced by the next so that they do not pile up.
    uint lastId = 0;
};
