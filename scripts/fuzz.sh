#!/usr/bin/env bash
# Builds the libFuzzer targets of fuzz/ with clang in build-fuzz/ (apart from the gcc build) and
# runs each from its seed corpus for a bounded time. Any crash, leak, sanitizer report or failed
# round-trip check fails the run; the input that caused it is left in build-fuzz/findings/.
# Seconds per target: Q7_FUZZ_SECONDS (20).
set -euo pipefail

root="$(cd "$(dirname "${BASH_SOURCE[0]}")/.." && pwd)"
seconds="${Q7_FUZZ_SECONDS:-20}"
dir="$root/build-fuzz"

CC=clang CXX=clang++ cmake -S "$root" -B "$dir" -G Ninja -DCMAKE_BUILD_TYPE=Debug -DQ7_FUZZ=ON >/dev/null
targets=(textfile phrasefile settings)
cmake --build "$dir" -j "$(nproc)" --target "${targets[@]/#/fuzz_}"

# Each run writes files: in memory where the machine offers it, since the writer syncs them.
scratch="$(mktemp -d -p /dev/shm 2>/dev/null || mktemp -d)"
trap 'rm -rf "$scratch"' EXIT
mkdir -p "$dir/findings"
passed=0 failed=0
for t in "${targets[@]}"; do
  mkdir -p "$scratch/$t"
  # New inputs go to the scratch folder; the seeds in the repository stay as they are.
  if TMPDIR="$scratch" ASAN_OPTIONS=detect_leaks=1 "$dir/fuzz/fuzz_$t" \
       -max_total_time="$seconds" -timeout=20 -rss_limit_mb=4096 -max_len=65536 -print_final_stats=1 \
       -artifact_prefix="$dir/findings/$t-" "$scratch/$t" "$root/fuzz/$t/corpus" >"$scratch/$t.log" 2>&1; then
    echo "fuzz_$t: $(grep -m1 -o 'stat::number_of_executed_units: *[0-9]*' "$scratch/$t.log" | grep -o '[0-9]*$') runs, no finding"
    passed=$((passed + 1))
  else
    tail -n 40 "$scratch/$t.log" >&2
    echo "fuzz_$t: FAILED (input kept in $dir/findings/)" >&2
    failed=$((failed + 1))
  fi
done
echo "fuzz targets: $passed passed, $failed failed"
[ "$failed" -eq 0 ]
