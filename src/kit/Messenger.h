// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include "kit/Message.h"

#include <QObject>
#include <functional>
#include <mutex>

namespace kit {

// Posts messages to one object from any thread until its owner revokes it. The owner calls
// Clear() before the object is destroyed; from then on Post delivers nothing, so a thread that
// outlives the object never posts to a deleted one.
class Messenger {
public:
    explicit Messenger(QObject* receiver) : target(receiver) {}

    // Queues the message for the target; false when Clear() has been called.
    bool Post(Message message);
    // Queues a call to run on the target's thread; false when Clear() has been called. What the
    // call needs travels in it as values.
    bool Invoke(std::function<void()> call);
    // Revokes the target. When it returns, no Post is under way and none will deliver.
    void Clear();

private:
    std::mutex mutex;
    QObject* target;
};

} // namespace kit
