// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include "kit/Message.h"

#include <QEvent>
#include <QObject>

namespace kit {

// Receives messages: commands from controls and menus, and messages posted from other threads.
class Handler {
public:
    virtual ~Handler() = default;
    virtual void MessageReceived(Message* message) = 0;
};

// A message travelling through Qt's event queue to a handler on the GUI thread.
class MessageEvent : public QEvent {
public:
    explicit MessageEvent(Message msg) : QEvent(EventType()), message(std::move(msg)) {}
    static QEvent::Type EventType();

    Message message;
};

// Queues the message for the target; safe to call from any thread. The target's event() hands
// it to its MessageReceived (see DeliverMessageEvent).
void PostMessage(QObject* target, Message message);

// For a handler's event(): when the event carries a message, hands it to the handler and returns
// true; otherwise returns false.
bool DeliverMessageEvent(QEvent* event, Handler* handler);

} // namespace kit
