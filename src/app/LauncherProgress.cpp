// SPDX-License-Identifier: GPL-3.0-or-later
#include "app/LauncherProgress.h"

#include "app/AppIdentity.h"

#include <QCoreApplication>
#include <QDBusMessage>
#include <QVariantMap>
#include <algorithm>

LauncherProgress::LauncherProgress(std::optional<QDBusConnection> givenBus)
    : bus(std::move(givenBus)) {}

QString LauncherProgress::ObjectPath() {
    // Listeners go by the application named in the signal; the path only has to be the
    // sender's own.
    return QStringLiteral("/com/canonical/unity/launcherentry/%1")
        .arg(QCoreApplication::applicationPid());
}

void LauncherProgress::Show(double fraction) {
    Send(std::clamp(fraction, 0.0, 1.0), true);
}

void LauncherProgress::Hide() {
    Send(0.0, false);
}

void LauncherProgress::Send(double fraction, bool visible) {
    if (!bus) {
        bus = QDBusConnection::sessionBus();
    }
    if (!bus->isConnected()) {
        return;
    }
    QDBusMessage signal = QDBusMessage::createSignal(
        ObjectPath(), QStringLiteral("com.canonical.Unity.LauncherEntry"),
        QStringLiteral("Update"));
    const QVariantMap properties{{QStringLiteral("progress"), fraction},
                                 {QStringLiteral("progress-visible"), visible}};
    signal << QStringLiteral("application://%1.desktop").arg(QLatin1String(kDesktopId))
           << properties;
    bus->send(signal);
}
