#!/usr/bin/env bash
# Runs every fuzz target of a TALVERS_FUZZ build for a bounded time (TALVERS_FUZZ_SECONDS,
# 30 by default), each from a copy of its seed corpus so the repository is left as it was.
# Fails on any crash, hang, leak or sanitizer finding; the input that caused it is kept in
# <build>/fuzz-artifacts/.
#   scripts/fuzz.sh [build folder, default build-sanitize]
set -euo pipefail
cd "$(dirname "$0")/.."
build="${1:-build-sanitize}"
seconds="${TALVERS_FUZZ_SECONDS:-30}"
source tests/sanitizer/env.sh

work="$(mktemp -d)"
trap 'rm -rf "$work"' EXIT
artifacts="$build/fuzz-artifacts"
mkdir -p "$artifacts"

status=0
while read -r name; do
  [ -n "$name" ] || continue
  cp -r "tests/fuzz/corpus/$name" "$work/$name"
  log="$work/$name.log"
  if "$build/tests/fuzz/$name" -max_total_time="$seconds" -timeout=10 -print_final_stats=1 \
       -artifact_prefix="$artifacts/$name-" "$work/$name" >"$log" 2>&1; then
    runs="$(sed -n 's/^stat::number_of_executed_units: *//p' "$log")"
    echo "fuzz: $name: ${runs:-?} executions in ${seconds} s, no finding"
  else
    echo "fuzz: $name FAILED (input kept in $artifacts):"
    tail -n 80 "$log"
    status=1
  fi
done <"$build/tests/fuzz/fuzz_targets.txt"
exit "$status"
