// SPDX-License-Identifier: GPL-3.0-or-later
#include "kit/MessageEvent.h"

#include <QCoreApplication>

namespace kit {

QEvent::Type MessageEvent::EventType() {
    static const auto type = static_cast<QEvent::Type>(QEvent::registerEventType());
    return type;
}

void PostMessage(QObject* target, Message message) {
    QCoreApplication::postEvent(target, new MessageEvent(std::move(message)));
}

bool DeliverMessageEvent(QEvent* event, Handler* handler) {
    if (event->type() != MessageEvent::EventType()) {
        return false;
    }
    handler->MessageReceived(&static_cast<MessageEvent*>(event)->message);
    return true;
}

} // namespace kit
