// SPDX-License-Identifier: GPL-3.0-or-later
// Preloaded into the encoder by its tests: refuses O_TMPFILE with the error that vfat and exFAT
// give, so the encoder takes the path it takes on those file systems.
#define _GNU_SOURCE
#include <dlfcn.h>
#include <errno.h>
#include <fcntl.h>
#include <stdarg.h>

typedef int (*OpenAt)(int, const char*, int, ...);

int openat(int folder, const char* path, int flags, ...) {
    if ((flags & O_TMPFILE) == O_TMPFILE) {
        errno = EOPNOTSUPP;
        return -1;
    }
    mode_t mode = 0;
    if (flags & O_CREAT) {
        va_list args;
        va_start(args, flags);
        mode = va_arg(args, mode_t);
        va_end(args);
    }
    const OpenAt next = (OpenAt)dlsym(RTLD_NEXT, "openat");
    return next(folder, path, flags, mode);
}

// On 64-bit systems the large-file name is the same function.
int openat64(int folder, const char* path, int flags, ...) __attribute__((alias("openat")));
