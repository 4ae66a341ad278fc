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

void Messenger::Clear() {
    const std::lock_guard lock(mutex);
    target = nullptr;
}

} // namespace kit
