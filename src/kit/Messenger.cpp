// SPDX-License-Identifier: GPL-3.0-or-later
#include "kit/Messenger.h"

#include "kit/MessageEvent.h"

namespace kit {

bool Messenger::Post(Message message) {
    const std::lock_guard lock(mutex);
    if (target == nullptr) {
        return false;
    }
    PostMessage(target, std::move(message));
    return true;
}

bool Messenger::Invoke(std::function<void()> call) {
    const std::lock_guard lock(mutex);
    if (target == nullptr) {
        return false;
    }
    QMetaObject::invokeMethod(target, std::move(call), Qt::QueuedConnection);
    return true;
}

void Messenger::Clear() {
    const std::lock_guard lock(mutex);
    target = nullptr;
}

} // namespace kit
