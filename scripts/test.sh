#!/usr/bin/env bash
# The test command: install what is needed, build, run every test, then build again with
# AddressSanitizer and UndefinedBehaviorSanitizer (clang) into build-sanitize, run every test
# there and run each fuzz target for a bounded time, and last cross-build the whole program for
# Windows into build-windows (its libraries built from Debian's sources when their cache lacks
# them, scripts/windows_deps.sh), run its tests under Wine and install, run and uninstall its
# setup there (scripts/windows_pass.sh).
#   --sanitize   only the sanitized pass
#   --quick      only the normal pass
#   --windows    only the Windows pass
set -euo pipefail
cd "$(dirname "$0")/.."
mode="${1:-all}"
case "$mode" in
  all|--windows) bash scripts/setup.sh --windows-deps ;;
  --quick|--sanitize) bash scripts/setup.sh ;;
  *) echo "usage: scripts/test.sh [--quick|--sanitize|--windows]" >&2; exit 2 ;;
esac

if [ "$mode" = "all" ] || [ "$mode" = "--quick" ]; then
  bash scripts/build.sh
  ctest --test-dir build --output-on-failure -j2
fi

if [ "$mode" = "all" ] || [ "$mode" = "--sanitize" ]; then
  source tests/sanitizer/env.sh
  # -O1 keeps the reports readable and the build short; no benchmarks.
  cmake -S . -B build-sanitize -G Ninja -DCMAKE_BUILD_TYPE=Debug -DCMAKE_CXX_FLAGS_DEBUG="-O1 -g" \
        -DCMAKE_C_FLAGS_DEBUG="-O1 -g" -DCMAKE_C_COMPILER=clang -DCMAKE_CXX_COMPILER=clang++ \
        -DTALVERS_SANITIZE=ON -DTALVERS_FUZZ=ON -DTALVERS_BENCH=OFF
  cmake --build build-sanitize -j"${TALVERS_JOBS:-2}"
  ctest --test-dir build-sanitize --output-on-failure -j2
  bash scripts/fuzz.sh build-sanitize
fi

if [ "$mode" = "all" ] || [ "$mode" = "--windows" ]; then
  bash scripts/windows_pass.sh
fi
