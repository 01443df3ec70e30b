#!/usr/bin/env bash
# The test command: install what is needed, build, run every test, then build again with
# AddressSanitizer and UndefinedBehaviorSanitizer (clang) into build-sanitize, run every test
# there and run each fuzz target for a bounded time.
#   --sanitize   only the sanitized pass
#   --quick      only the normal pass
set -euo pipefail
cd "$(dirname "$0")/.."
mode="${1:-all}"
bash scripts/setup.sh

if [ "$mode" != "--sanitize" ]; then
  bash scripts/build.sh
  ctest --test-dir build --output-on-failure -j2
fi

if [ "$mode" != "--quick" ]; then
  source tests/sanitizer/env.sh
  # -O1 keeps the reports readable and the build short; no benchmarks.
  cmake -S . -B build-sanitize -G Ninja -DCMAKE_BUILD_TYPE=Debug -DCMAKE_CXX_FLAGS_DEBUG="-O1 -g" \
        -DCMAKE_C_FLAGS_DEBUG="-O1 -g" -DCMAKE_C_COMPILER=clang -DCMAKE_CXX_COMPILER=clang++ \
        -DTALVERS_SANITIZE=ON -DTALVERS_FUZZ=ON -DTALVERS_BENCH=OFF
  cmake --build build-sanitize -j"${TALVERS_JOBS:-2}"
  ctest --test-dir build-sanitize --output-on-failure -j2
  bash scripts/fuzz.sh build-sanitize
fi
