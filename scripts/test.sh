#!/usr/bin/env bash
# Installs what the tests need, builds everything and runs the whole suite:
# unit tests, end-to-end tests under Xvfb, the unit tests again under
# AddressSanitizer and UndefinedBehaviorSanitizer, and a short fuzz run.
set -euo pipefail
cd "$(dirname "$0")/.."
scripts/install-deps.sh test
jobs=$(nproc)

cmake -S . -B build -DCMAKE_BUILD_TYPE=RelWithDebInfo -DKELVAR_TESTS=ON -DKELVAR_BENCH=ON
cmake --build build -j"$jobs"
(cd build && ctest --output-on-failure -j"$jobs" -LE e2e)
(cd build && ctest --output-on-failure -L e2e)

cmake -S . -B build-asan -DCMAKE_BUILD_TYPE=Debug -DKELVAR_SANITIZE=ON -DKELVAR_BENCH=OFF -DKELVAR_TESTS=ON
cmake --build build-asan -j"$jobs"
(cd build-asan && LSAN_OPTIONS="suppressions=$PWD/../tests/lsan.supp" ctest --output-on-failure -j"$jobs" -L unit)

if [[ -x tests/engine/run_fuzz.sh ]]; then
  tests/engine/run_fuzz.sh build-fuzz
fi
echo "All tests passed."
