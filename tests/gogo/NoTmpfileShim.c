// Preloaded into the encoder by its tests: refuses O_TMPFILE with the error that vfat and exFAT
// give, so the encoder takes the path it takes on those file systems.
#define _GNU_SOURCE
#include <dlfcn.h>
#include <errno.h>
#include <fcntl.h>
#include <stdarg.h>

typedef int (*OpenAt)(int, const char*, int, ...);

static int OpenUnlessUnnamed(const char* symbol, int folder, const char* path, int flags,
                             mode_t mode) {
    if ((flags & O_TMPFILE) == O_TMPFILE) {
        errno = EOPNOTSUPP;
        return -1;
    }
    const OpenAt next = (OpenAt)dlsym(RTLD_NEXT, symbol);
    return next(folder, path, flags, mode);
}

static mode_t ModeArgument(int flags, va_list args) {
    return (flags & O_CREAT) || (flags & O_TMPFILE) == O_TMPFILE ? va_arg(args, mode_t) : 0;
}

int openat(int folder, const char* path, int flags, ...) {
    va_list args;
    va_start(args, flags);
    const mode_t mode = ModeArgument(flags, args);
    va_end(args);
    return OpenUnlessUnnamed("openat", folder, path, flags, mode);
}

int openat64(int folder, const char* path, int flags, ...) {
    va_list args;
    va_start(args, flags);
    const mode_t mode = ModeArgument(flags, args);
    va_end(args);
    return OpenUnlessUnnamed("openat64", folder, path, flags, mode);
}
