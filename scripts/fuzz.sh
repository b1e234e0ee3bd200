#!/usr/bin/env bash
# Builds the libFuzzer targets of fuzz/ with clang in build-fuzz/ (apart from the gcc builds) and
# runs them as the `fuzz` tests there (fuzz/run_target.sh): each from its seed corpus for a
# bounded time. Any crash, leak, sanitizer report or failed round-trip check fails the run; the
# input that caused it is left in build-fuzz/findings/. Seconds per target: Q7_FUZZ_SECONDS (20).
set -euo pipefail

root="$(cd "$(dirname "${BASH_SOURCE[0]}")/.." && pwd)"
dir="$root/build-fuzz"

CC=clang CXX=clang++ cmake -S "$root" -B "$dir" -G Ninja -DCMAKE_BUILD_TYPE=Debug -DQ7_FUZZ=ON >/dev/null
cmake --build "$dir" -j "$(nproc)" --target fuzz_textfile fuzz_phrasefile fuzz_settings fuzz_journal
# One at a time: each target has the bounded time to itself.
cd "$dir"
ctest -L fuzz --output-on-failure --no-tests=error
