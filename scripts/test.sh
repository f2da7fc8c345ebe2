#!/usr/bin/env bash
# Sets up, builds and runs every test: the normal build with warnings as
# errors, a short fuzzing run, then the whole suite built with AddressSanitizer
# and UBSan.
set -euo pipefail
cd "$(dirname "$0")/.."

bash scripts/setup.sh
jobs=$(nproc)

cmake -S . -B build -G Ninja -DCMAKE_BUILD_TYPE=RelWithDebInfo -DLUMETRA_WERROR=ON
cmake --build build -j "$jobs"
ctest --test-dir build --output-on-failure -j "$jobs"
bash scripts/package-check.sh

# A short run of each fuzz target (clang's libFuzzer) over its seed corpus.
CC=clang CXX=clang++ cmake -S . -B build-fuzz -G Ninja -DCMAKE_BUILD_TYPE=RelWithDebInfo -DLUMETRA_FUZZ=ON
cmake --build build-fuzz -j "$jobs"
fuzz_briefly() { # target, seed folder, seconds
  local corpus
  corpus=$(mktemp -d)
  cp "$2"/* "$corpus"/
  "build-fuzz/fuzz/$1" -max_total_time="$3" "$corpus" 2>&1 | tail -n 1
  rm -rf "$corpus"
}
fuzz_briefly settings_reader_fuzz fuzz/corpus 15
fuzz_briefly receive_fuzz fuzz/receive-corpus 5

cmake -S . -B build-asan -G Ninja -DCMAKE_BUILD_TYPE=Debug -DLUMETRA_WERROR=ON -DLUMETRA_SANITIZE=ON -DLUMETRA_BENCH=OFF
cmake --build build-asan -j "$jobs"
UBSAN_OPTIONS=print_stacktrace=1:halt_on_error=1 ctest --test-dir build-asan --output-on-failure -j "$jobs"
