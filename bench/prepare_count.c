/* A preload library that counts the statements a program has SQLite prepare, for counting a
 * report's statements independently of the program's own counters and trace:
 *   TALVERS_PREPARE_COUNT=FILE LD_PRELOAD=.../libtalvers_prepare_count.so talvers-report ...
 * Every sqlite3_prepare* and sqlite3_exec call is passed on unchanged. A prepare the program
 * asks for, directly or through sqlite3_exec, counts as the program's; the statements SQLite
 * prepares for itself while doing so (reading the schema and the planner's statistics) are
 * counted apart. At exit one line per prepare ("program" or "sqlite", then the first 120
 * bytes of the text) is appended to FILE (stderr without it), then "total program N" and
 * "total sqlite N". */
#define _GNU_SOURCE
#include <dlfcn.h>
#include <sqlite3.h>
#include <stdio.h>
#include <stdlib.h>
#include <string.h>

enum { kKept = 4096, kTextBytes = 120 };

struct Kept {
    int program;
    char text[kTextBytes + 1];
};

static long calls;
static long programCalls;
static struct Kept kept[kKept];
/* How deep in wrapped calls this thread is, and whether the outermost is the program's exec. */
static __thread int depth;
static __thread int inProgramExec;

/* dlsym's object pointer copied into a function pointer (a cast between them is not ISO C). */
static void lookUp(const char* name, void* function, size_t size) {
    void* symbol = dlsym(RTLD_NEXT, name);
    memcpy(function, &symbol, size);
}

static void remember(const void* sql, int bytes, int utf16) {
    const int program = depth == 0 || (depth == 1 && inProgramExec);
    const long n = __atomic_fetch_add(&calls, 1, __ATOMIC_RELAXED);
    if (program) __atomic_fetch_add(&programCalls, 1, __ATOMIC_RELAXED);
    if (n >= kKept) return;
    kept[n].program = program;
    char* out = kept[n].text;
    if (utf16) {
        snprintf(out, kTextBytes + 1, "(UTF-16 text)");
        return;
    }
    size_t length = strnlen((const char*)sql, bytes < 0 ? kTextBytes : (size_t)bytes);
    if (length > kTextBytes) length = kTextBytes;
    memcpy(out, sql, length);
    out[length] = '\0';
    for (char* c = out; *c; ++c) {
        if (*c == '\n' || *c == '\r' || *c == '\t') *c = ' ';
    }
}

int sqlite3_exec(sqlite3* db, const char* sql, int (*callback)(void*, int, char**, char**),
                 void* argument, char** error) {
    typedef int (*real_t)(sqlite3*, const char*, int (*)(void*, int, char**, char**), void*,
                          char**);
    static real_t real;
    if (!real) lookUp("sqlite3_exec", &real, sizeof real);
    const int outer = depth == 0;
    if (outer) inProgramExec = 1;
    ++depth;
    const int rc = real(db, sql, callback, argument, error);
    --depth;
    if (outer) inProgramExec = 0;
    return rc;
}

int sqlite3_prepare(sqlite3* db, const char* sql, int bytes, sqlite3_stmt** statement,
                    const char** tail) {
    typedef int (*real_t)(sqlite3*, const char*, int, sqlite3_stmt**, const char**);
    static real_t real;
    if (!real) lookUp("sqlite3_prepare", &real, sizeof real);
    remember(sql, bytes, 0);
    ++depth;
    const int rc = real(db, sql, bytes, statement, tail);
    --depth;
    return rc;
}

int sqlite3_prepare_v2(sqlite3* db, const char* sql, int bytes, sqlite3_stmt** statement,
                       const char** tail) {
    typedef int (*real_t)(sqlite3*, const char*, int, sqlite3_stmt**, const char**);
    static real_t real;
    if (!real) lookUp("sqlite3_prepare_v2", &real, sizeof real);
    remember(sql, bytes, 0);
    ++depth;
    const int rc = real(db, sql, bytes, statement, tail);
    --depth;
    return rc;
}

int sqlite3_prepare_v3(sqlite3* db, const char* sql, int bytes, unsigned int flags,
                       sqlite3_stmt** statement, const char** tail) {
    typedef int (*real_t)(sqlite3*, const char*, int, unsigned int, sqlite3_stmt**, const char**);
    static real_t real;
    if (!real) lookUp("sqlite3_prepare_v3", &real, sizeof real);
    remember(sql, bytes, 0);
    ++depth;
    const int rc = real(db, sql, bytes, flags, statement, tail);
    --depth;
    return rc;
}

int sqlite3_prepare16_v2(sqlite3* db, const void* sql, int bytes, sqlite3_stmt** statement,
                         const void** tail) {
    typedef int (*real_t)(sqlite3*, const void*, int, sqlite3_stmt**, const void**);
    static real_t real;
    if (!real) lookUp("sqlite3_prepare16_v2", &real, sizeof real);
    remember(sql, bytes, 1);
    ++depth;
    const int rc = real(db, sql, bytes, statement, tail);
    --depth;
    return rc;
}

__attribute__((destructor)) static void report(void) {
    const char* name = getenv("TALVERS_PREPARE_COUNT");
    FILE* out = name && *name ? fopen(name, "a") : stderr;
    if (!out) return;
    for (long n = 0; n < calls && n < kKept; ++n) {
        fprintf(out, "%s\t%s\n", kept[n].program ? "program" : "sqlite", kept[n].text);
    }
    fprintf(out, "total program\t%ld\ntotal sqlite\t%ld\n", programCalls, calls - programCalls);
    if (out != stderr) fclose(out);
}
