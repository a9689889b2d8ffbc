/* Preloaded into the program by tests that need it held in the middle of its
 * load: opening a file whose name ends with $ORBELUNE_HOLD_OPEN creates the
 * file $ORBELUNE_HOLD_READY (so the test knows where the program is) and then
 * never returns, like a read from a file system that stopped answering.
 * Signal handlers still run while it waits. Every other open goes through. */
#define _GNU_SOURCE
#include <dlfcn.h>
#include <fcntl.h>
#include <stdarg.h>
#include <stdlib.h>
#include <string.h>
#include <unistd.h>

typedef int (*OpenFunction)(const char*, int, ...);

static int heldName(const char* path) {
    const char* suffix = getenv("ORBELUNE_HOLD_OPEN");
    if (!path || !suffix || !*suffix) return 0;
    const size_t n = strlen(path), m = strlen(suffix);
    return n >= m && strcmp(path + n - m, suffix) == 0;
}

static void holdForever(OpenFunction real) {
    const char* ready = getenv("ORBELUNE_HOLD_READY");
    if (ready) {
        const int fd = real(ready, O_WRONLY | O_CREAT | O_CLOEXEC, 0600);
        if (fd >= 0) close(fd);
    }
    for (;;) pause();
}

static int forward(const char* symbol, const char* path, int flags, mode_t mode) {
    OpenFunction real = (OpenFunction)dlsym(RTLD_NEXT, symbol);
    if (heldName(path)) holdForever(real);
    return real(path, flags, mode);
}

/* The mode argument, present only when the flags create a file. */
#define MODE_OF(flags, mode)                   \
    do {                                       \
        if ((flags) & (O_CREAT | O_TMPFILE)) { \
            va_list args;                      \
            va_start(args, flags);             \
            mode = va_arg(args, mode_t);       \
            va_end(args);                      \
        }                                      \
    } while (0)

int open(const char* path, int flags, ...) {
    mode_t mode = 0;
    MODE_OF(flags, mode);
    return forward("open", path, flags, mode);
}

int open64(const char* path, int flags, ...) {
    mode_t mode = 0;
    MODE_OF(flags, mode);
    return forward("open64", path, flags, mode);
}
