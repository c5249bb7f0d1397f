#!/usr/bin/env bash
# Builds the fuzz targets with clang (KELVAR_FUZZ=ON) in the given build
# folder and runs each for about 20 seconds: the engine link on arbitrary
# engine output, the PGN reader on arbitrary files.
# Usage: tests/engine/run_fuzz.sh <build-dir>   (KELVAR_FUZZ_SECONDS overrides the time)
set -euo pipefail
build=${1:?usage: run_fuzz.sh <build-dir>}
source_dir=$(cd "$(dirname "$0")/../.." && pwd)
seconds=${KELVAR_FUZZ_SECONDS:-20}

cmake -S "$source_dir" -B "$build" -DCMAKE_BUILD_TYPE=RelWithDebInfo \
  -DCMAKE_C_COMPILER=clang -DCMAKE_CXX_COMPILER=clang++ -DKELVAR_FUZZ=ON -DKELVAR_BENCH=OFF >/dev/null
cmake --build "$build" -j"$(nproc)" --target kelvar_engine_fuzz kelvar_pgn_fuzz

# The corpus grows in the build folder, seeded with typical engine output.
corpus="$build/tests/engine/fuzz-corpus"
mkdir -p "$corpus"
cp "$source_dir"/tests/engine/fuzz_seeds/* "$corpus"/
"$build/tests/engine/kelvar_engine_fuzz" -max_total_time="$seconds" -max_len=1024 -print_final_stats=1 "$corpus"

pgn_corpus="$build/tests/engine/pgn-fuzz-corpus"
mkdir -p "$pgn_corpus"
cp "$source_dir"/tests/engine/pgn_seeds/* "$pgn_corpus"/
"$build/tests/engine/kelvar_pgn_fuzz" -max_total_time="$seconds" -max_len=4096 -print_final_stats=1 "$pgn_corpus"
