// Preloaded into quarvel-export by the tool tests, to see what no exit status shows.
// QUARVEL_PROBE_NO_TMPFILE: unnamed temporary files are refused, as on a file system
// that has none. QUARVEL_PROBE_LOG=path: every fsync and rename is logged there, one
// line each ("sync-folder PATH", "sync-file", "rename TO").
#define _GNU_SOURCE
#include <dlfcn.h>
#include <errno.h>
#include <fcntl.h>
#include <stdarg.h>
#include <stdio.h>
#include <stdlib.h>
#include <string.h>
#include <sys/stat.h>
#include <unistd.h>

typedef int (*OpenFunction)(const char*, int, ...);
typedef int (*OpenAtFunction)(int, const char*, int, ...);

static int refused(int flags) {
    if ((flags & O_TMPFILE) != O_TMPFILE || !getenv("QUARVEL_PROBE_NO_TMPFILE")) return 0;
    errno = EOPNOTSUPP;
    return 1;
}

static mode_t modeArgument(int flags, va_list arguments) {
    return (flags & O_CREAT) || (flags & O_TMPFILE) == O_TMPFILE ? va_arg(arguments, mode_t) : 0;
}

#define OPEN_LIKE(name)                                                      \
    int name(const char* path, int flags, ...) {                             \
        va_list arguments;                                                   \
        va_start(arguments, flags);                                          \
        const mode_t mode = modeArgument(flags, arguments);                  \
        va_end(arguments);                                                   \
        if (refused(flags)) return -1;                                       \
        static OpenFunction real;                                            \
        if (!real) real = (OpenFunction)dlsym(RTLD_NEXT, #name);             \
        return real(path, flags, mode);                                      \
    }
#define OPENAT_LIKE(name)                                                    \
    int name(int folder, const char* path, int flags, ...) {                 \
        va_list arguments;                                                   \
        va_start(arguments, flags);                                          \
        const mode_t mode = modeArgument(flags, arguments);                  \
        va_end(arguments);                                                   \
        if (refused(flags)) return -1;                                       \
        static OpenAtFunction real;                                          \
        if (!real) real = (OpenAtFunction)dlsym(RTLD_NEXT, #name);           \
        return real(folder, path, flags, mode);                              \
    }
OPEN_LIKE(open)
OPEN_LIKE(open64)
OPENAT_LIKE(openat)
OPENAT_LIKE(openat64)

static void logLine(const char* what, const char* path) {
    const char* log = getenv("QUARVEL_PROBE_LOG");
    if (!log) return;
    FILE* out = fopen(log, "a");
    if (!out) return;
    fprintf(out, path ? "%s %s\n" : "%s\n", what, path);
    fclose(out);
}

int fsync(int fd) {
    static int (*real)(int);
    if (!real) real = (int (*)(int))dlsym(RTLD_NEXT, "fsync");
    const int result = real(fd);
    struct stat info;
    if (fstat(fd, &info) == 0 && S_ISDIR(info.st_mode)) {
        char link[64], path[4096];
        snprintf(link, sizeof link, "/proc/self/fd/%d", fd);
        const ssize_t length = readlink(link, path, sizeof path - 1);
        path[length < 0 ? 0 : length] = '\0';
        logLine("sync-folder", path);
    } else {
        logLine("sync-file", NULL);
    }
    return result;
}

int renameat(int fromFolder, const char* from, int toFolder, const char* to) {
    static int (*real)(int, const char*, int, const char*);
    if (!real) real = (int (*)(int, const char*, int, const char*))dlsym(RTLD_NEXT, "renameat");
    const int result = real(fromFolder, from, toFolder, to);
    if (result == 0) {
        char link[64], path[4096];
        snprintf(link, sizeof link, "/proc/self/fd/%d", toFolder);
        const ssize_t length = readlink(link, path, sizeof path - 1);
        path[length < 0 ? 0 : length] = '\0';
        strncat(path, "/", sizeof path - strlen(path) - 1);
        strncat(path, to, sizeof path - strlen(path) - 1);
        logLine("rename", path);
    }
    return result;
}
