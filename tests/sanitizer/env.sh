# Sourced by the sanitized test and fuzz runs: stop at the first finding with a stack trace,
# so a finding fails the test that hit it. Child processes (the end-to-end tests run the
# programs) inherit these. Leak checking is on, with one suppression (lsan.supp) for a buffer
# glibc itself leaves behind; the desktop tests (Qt, fontconfig) run clean.
export ASAN_OPTIONS="halt_on_error=1:abort_on_error=1:print_stacktrace=1:detect_leaks=1:strict_string_checks=1:detect_stack_use_after_return=1"
export UBSAN_OPTIONS="halt_on_error=1:abort_on_error=1:print_stacktrace=1"
export LSAN_OPTIONS="suppressions=$(cd "$(dirname "${BASH_SOURCE[0]}")" && pwd)/lsan.supp:print_suppressions=0"
