// SPDX-License-Identifier: GPL-3.0-or-later
#include "kit/Locker.h"

#include <chrono>

namespace kit {

status_t Locker::LockWithTimeout(int64_t microseconds) {
    return mutex.try_lock_for(std::chrono::microseconds(microseconds)) ? B_OK : B_TIMED_OUT;
}

} // namespace kit
