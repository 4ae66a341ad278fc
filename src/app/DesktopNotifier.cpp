// SPDX-License-Identifier: GPL-3.0-or-later
#include "app/DesktopNotifier.h"

#include "app/AppIdentity.h"

#include <QDBusMessage>
#include <QDBusPendingCallWatcher>
#include <QDBusPendingReply>
#include <QVariantMap>

DesktopNotifier::DesktopNotifier(std::optional<QDBusConnection> givenBus)
    : bus(std::move(givenBus)) {}

void DesktopNotifier::Notify(const QString& summary, const QString& body) {
    if (!bus) {
        bus = QDBusConnection::sessionBus();
    }
    if (!bus->isConnected()) {
        return;
    }
    QDBusMessage call = QDBusMessage::createMethodCall(
        QStringLiteral("org.freedesktop.Notifications"),
        QStringLiteral("/org/freedesktop/Notifications"),
        QStringLiteral("org.freedesktop.Notifications"), QStringLiteral("Notify"));
    // The desktop entry lets the desktop show the program's name and icon and group its
    // notifications.
    const QString desktopId = QString::fromLatin1(kDesktopId);
    const QVariantMap hints{{QStringLiteral("desktop-entry"), desktopId}};
    call << QStringLiteral("Vamble") << lastId << desktopId << summary << body << QStringList()
         << hints << -1;
    // Without a service the call fails later, unseen; with one, its answer names the
    // notification that the next one replaces.
    auto* watcher = new QDBusPendingCallWatcher(bus->asyncCall(call), &pendingAnswers);
    QObject::connect(watcher, &QDBusPendingCallWatcher::finished, watcher, [this, watcher] {
        const QDBusPendingReply<uint> reply = *watcher;
        if (reply.isValid()) {
            lastId = reply.value();
        }
        watcher->deleteLater();
    });
}
