// Preloaded into quarvel-export by the tool tests, to see what no exit status shows.
// QUARVEL_PROBE_NO_TMPFILE: unnamed temporary files are refused, as on a file system
// that has none. QUARVEL_PROBE_LOG=path: every fsync and rename is logged there, one
// line each ("sync-folder PATH", "sync-file", "rename PATH").
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

// The C library's own function of that name, as real_name.
#define REAL(name)                            \
    static __typeof__(&name) real_##name;     \
    if (!real_##name) real_##name = (__typeof__(&name))dlsym(RTLD_NEXT, #name)

int openat(int folder, const char* path, int flags, ...) {
    va_list arguments;
    va_start(arguments, flags);
    const mode_t mode = (flags & O_CREAT) || (flags & O_TMPFILE) == O_TMPFILE ? va_arg(arguments, mode_t) : 0;
    va_end(arguments);
    if ((flags & O_TMPFILE) == O_TMPFILE && getenv("QUARVEL_PROBE_NO_TMPFILE")) {
        errno = EOPNOTSUPP;
        return -1;
    }
    REAL(openat);
    return real_openat(folder, path, flags, mode);
}

static void logLine(const char* what, const char* path) {
    const char* log = getenv("QUARVEL_PROBE_LOG");
    FILE* out = log ? fopen(log, "a") : NULL;
    if (!out) return;
    fprintf(out, path ? "%s %s\n" : "%s\n", what, path);
    fclose(out);
}

// The path of what a descriptor names, then "/" and `name` when one is given.
static const char* pathOf(int fd, const char* name, char* path, size_t size) {
    char link[64];
    snprintf(link, sizeof link, "/proc/self/fd/%d", fd);
    const ssize_t length = readlink(link, path, size - 1);
    path[length < 0 ? 0 : length] = '\0';
    if (name) snprintf(path + strlen(path), size - strlen(path), "/%s", name);
    return path;
}

int fsync(int fd) {
    REAL(fsync);
    const int result = real_fsync(fd);
    struct stat info;
    char path[4096];
    const int folder = fstat(fd, &info) == 0 && S_ISDIR(info.st_mode);
    logLine(folder ? "sync-folder" : "sync-file", folder ? pathOf(fd, NULL, path, sizeof path) : NULL);
    return result;
}

int renameat(int fromFolder, const char* from, int toFolder, const char* to) {
    REAL(renameat);
    const int result = real_renameat(fromFolder, from, toFolder, to);
    char path[4096];
    if (result == 0) logLine("rename", pathOf(toFolder, to, path, sizeof path));
    return result;
}
