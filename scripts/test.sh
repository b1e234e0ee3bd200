#!/usr/bin/env bash
# Installs what is missing, builds with AddressSanitizer and UndefinedBehaviorSanitizer in
# build-asan/ and runs every test there, then the fuzz targets (scripts/fuzz.sh, build-fuzz/);
# the exit status is the verdict.
set -euo pipefail
source "$(dirname "${BASH_SOURCE[0]}")/setup.sh"
q7_install "${q7_base_packages[@]}" xvfb xauth xdotool x11-utils openbox desktop-file-utils appstream
# The input-method test runs on a session bus of its own.
q7_install dbus-daemon
# Fuzzing (clang with its libFuzzer runtime), the Windows sources' cross check, the clipboard of
# the workflow test.
q7_install clang libclang-rt-dev g++-mingw-w64-x86-64-posix xclip
q7_build build-asan Debug -DQ7_SANITIZE=ON
cd "$q7_root/build-asan"
QT_QPA_PLATFORM=offscreen ctest --output-on-failure --no-tests=error --timeout 600 -j "$(nproc)"
bash "$q7_root/scripts/fuzz.sh"
