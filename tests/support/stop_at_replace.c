/* A preload library that sends the program a stop request (SIGTERM) at an exact step of a
 * replace, for the tests of what a stop does there:
 *   TALVERS_STOP_AT=before-rename LD_PRELOAD=.../libtalvers_stop_at_replace.so talvers-report ...
 *     the request arrives while the new file is flushed, just before it would take the old
 *     one's place;
 *   TALVERS_STOP_AT=after-rename: it arrives just after the new file took the old one's place.
 * The calls themselves are passed on unchanged. */
#define _GNU_SOURCE
#include <dlfcn.h>
#include <fcntl.h>
#include <signal.h>
#include <stdlib.h>
#include <string.h>
#include <sys/stat.h>
#include <unistd.h>

static int stopAt(const char* step) {
    const char* wanted = getenv("TALVERS_STOP_AT");
    return wanted != NULL && strcmp(wanted, step) == 0;
}

/* dlsym's object pointer copied into a function pointer (a cast between them is not ISO C). */
static void lookUp(const char* name, void* function, size_t size) {
    void* symbol = dlsym(RTLD_NEXT, name);
    memcpy(function, &symbol, size);
}

/* The new file is the one regular file the replace flushes, right before its rename. */
int fsync(int fd) {
    static int (*real)(int);
    if (real == NULL) lookUp("fsync", &real, sizeof real);
    struct stat info;
    if (stopAt("before-rename") && fstat(fd, &info) == 0 && S_ISREG(info.st_mode)) raise(SIGTERM);
    return real(fd);
}

int renameat(int fromFolder, const char* from, int toFolder, const char* to) {
    static int (*real)(int, const char*, int, const char*);
    if (real == NULL) lookUp("renameat", &real, sizeof real);
    const int result = real(fromFolder, from, toFolder, to);
    if (result == 0 && stopAt("after-rename")) raise(SIGTERM);
    return result;
}
