#!/usr/bin/env bash
# Installs what the build needs, builds Kelvar and starts it in its run folder.
set -euo pipefail
cd "$(dirname "$0")/.."
scripts/install-deps.sh build
cmake -S . -B build -DCMAKE_BUILD_TYPE=Release -DKELVAR_BENCH=OFF -DKELVAR_TESTS=OFF
cmake --build build -j"$(nproc)" --target kelvar_game abrok
cd build/run
exec ./kelvar
