#!/usr/bin/env bash
# Installs what is missing, builds with AddressSanitizer and UndefinedBehaviorSanitizer and runs
# every test; the exit status is the verdict.
set -euo pipefail
source "$(dirname "${BASH_SOURCE[0]}")/setup.sh"
q7_install "${q7_base_packages[@]}" xvfb xauth xdotool x11-utils openbox desktop-file-utils appstream
q7_build Debug -DQ7_SANITIZE=ON
cd "$q7_root/build"
QT_QPA_PLATFORM=offscreen ctest --output-on-failure --timeout 600 -j "$(nproc)"
