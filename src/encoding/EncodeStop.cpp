// SPDX-License-Identifier: GPL-3.0-or-later
#include "encoding/EncodeStop.h"

#include <cstdint>
#include <sys/eventfd.h>
#include <unistd.h>

EncodeStop::EncodeStop() : fd(eventfd(0, EFD_CLOEXEC | EFD_NONBLOCK)) {}

EncodeStop::~EncodeStop() {
    if (fd >= 0) {
        close(fd);
    }
}

void EncodeStop::Request() {
    // The flag first: a waiter woken by the descriptor must find it set.
    requested.store(true);
    if (fd >= 0) {
        const uint64_t one = 1;
        [[maybe_unused]] const ssize_t written = write(fd, &one, sizeof one);
    }
}
