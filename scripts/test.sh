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

# A short run of every fuzz target (clang's libFuzzer) over its seed corpus,
# with its executions and coverage (edges, features); a finding keeps its
# reproducer in build-fuzz/ and fails the run.
fuzz_targets=(settings_reader register_values text_inputs sim_request receive)
CC=clang CXX=clang++ cmake -S . -B build-fuzz -G Ninja -DCMAKE_BUILD_TYPE=RelWithDebInfo -DLUMETRA_FUZZ=ON -DLUMETRA_WERROR=ON
cmake --build build-fuzz -j "$jobs"
work=$(mktemp -d)
for target in "${fuzz_targets[@]}"; do
  mkdir "$work/$target"
  cp fuzz/corpus/"$target"/* "$work/$target"/
  if ! build-fuzz/fuzz/"${target}"_fuzz -max_total_time=5 -print_final_stats=1 -artifact_prefix=build-fuzz/"$target"- \
      "$work/$target" > "$work/$target.log" 2>&1; then
    cat "$work/$target.log"
    exit 1
  fi
  echo "fuzz $target: $(sed -n 's/^stat::number_of_executed_units: *//p' "$work/$target.log") executions," \
    "$(grep -o 'cov: [0-9]* ft: [0-9]*' "$work/$target.log" | tail -n 1)"
done
rm -rf "$work"

cmake -S . -B build-asan -G Ninja -DCMAKE_BUILD_TYPE=Debug -DLUMETRA_WERROR=ON -DLUMETRA_SANITIZE=ON -DLUMETRA_BENCH=OFF
cmake --build build-asan -j "$jobs"
UBSAN_OPTIONS=print_stacktrace=1:halt_on_error=1 ctest --test-dir build-asan --output-on-failure -j "$jobs"
