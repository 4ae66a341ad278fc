// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include "kit/Status.h"

#include <cstdint>
#include <mutex>

namespace kit {

// A recursive lock that can also be tried for a limited time.
class Locker {
public:
    void Lock() { mutex.lock(); }
    // Waits at most the given number of microseconds; B_OK when the lock was taken.
    status_t LockWithTimeout(int64_t microseconds);
    void Unlock() { mutex.unlock(); }

private:
    std::recursive_timed_mutex mutex;
};

} // namespace kit
