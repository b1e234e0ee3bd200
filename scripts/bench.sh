#!/usr/bin/env bash
# Builds Release in its own directory and runs the window benchmark (10 MB and 50 MB texts,
# five runs each). Extra arguments go to q7bench (e.g. --codec 50).
set -euo pipefail
cd "$(dirname "$0")/.."
cmake -S . -B build-bench -G Ninja -DCMAKE_BUILD_TYPE=Release -DQ7_SANITIZE=OFF >/dev/null
cmake --build build-bench --target q7bench
QT_QPA_PLATFORM=offscreen build-bench/bench/q7bench "$@"
