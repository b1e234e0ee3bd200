#!/usr/bin/env bash
# Runs one libFuzzer target from its seed corpus for a bounded time (a CTest test of the fuzz
# build; scripts/fuzz.sh runs them all). Any crash, leak, sanitizer report or failed round-trip
# check fails it, and the input that caused it is kept in FINDINGS_DIR.
#   run_target.sh PROGRAM NAME SEED_CORPUS FINDINGS_DIR
# Seconds per target: Q7_FUZZ_SECONDS (20).
set -euo pipefail
program="$1" name="$2" seeds="$3" findings="$4"
seconds="${Q7_FUZZ_SECONDS:-20}"

# The targets write files: in memory where the machine offers it, since the writer syncs them.
# New inputs go to the scratch folder too; the seeds in the repository stay as they are.
scratch="$(mktemp -d -p /dev/shm 2>/dev/null || mktemp -d)"
trap 'rm -rf "$scratch"' EXIT
mkdir -p "$scratch/corpus" "$findings"
if TMPDIR="$scratch" ASAN_OPTIONS=detect_leaks=1 "$program" \
     -max_total_time="$seconds" -timeout=20 -rss_limit_mb=4096 -max_len=65536 -print_final_stats=1 \
     -artifact_prefix="$findings/$name-" "$scratch/corpus" "$seeds" >"$scratch/log" 2>&1; then
  echo "$name: $(grep -m1 -o 'stat::number_of_executed_units: *[0-9]*' "$scratch/log" | grep -o '[0-9]*$') runs, no finding"
else
  tail -n 40 "$scratch/log" >&2
  echo "$name: FAILED (input kept in $findings/)" >&2
  exit 1
fi
