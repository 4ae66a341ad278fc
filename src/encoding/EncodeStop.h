// SPDX-License-Identifier: GPL-3.0-or-later
// A request to stop one encoder run.
#pragma once

#include <atomic>

// Made from any thread; wakes the worker at once, even while the encoder writes nothing,
// because the worker watches Fd() beside the encoder's pipes. A request is final.
class EncodeStop {
public:
    EncodeStop();
    ~EncodeStop();
    EncodeStop(const EncodeStop&) = delete;
    EncodeStop& operator=(const EncodeStop&) = delete;

    // Returns at once; safe from any thread and more than once.
    void Request();
    bool Requested() const { return requested.load(); }
    // Becomes readable on the first request. -1 when the system gave no descriptor; a waiter
    // must then look at Requested() from time to time.
    int Fd() const { return fd; }

private:
    std::atomic<bool> requested{false};
    int fd;
};
