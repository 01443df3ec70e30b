// The programs' settings for jemalloc, which reads this variable when it starts (before main);
// MALLOC_CONF in the environment still overrides it.
//
// A large report allocates a few cells per row and, on a fresh process, touches each new page
// of memory for the first time: with the C library's allocator a 100,000-line report spent
// about a fifth of its time in malloc and in those first-touch page faults. jemalloc, asked to
// back its memory with transparent huge pages (one fault per 2 MiB instead of per 4 KiB, where
// the system allows them), took that share down to a few percent.
extern "C" {
extern const char* malloc_conf;
const char* malloc_conf = "thp:always,metadata_thp:always";
}
