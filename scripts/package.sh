#!/usr/bin/env bash
# Builds q7Zibo in Release mode in build-release/ and makes the Debian package there
# (build-release/q7zibo_<version>_<arch>.deb). Install it with: sudo apt-get install ./q7zibo_*.deb
set -euo pipefail
source "$(dirname "${BASH_SOURCE[0]}")/setup.sh"
q7_install "${q7_base_packages[@]}" dpkg-dev file
cmake -S "$q7_root" -B "$q7_root/build-release" -G Ninja -DCMAKE_BUILD_TYPE=Release -DQ7_SANITIZE=OFF >/dev/null
cmake --build "$q7_root/build-release" --target q7zibo -j "$(nproc)"
cd "$q7_root/build-release"
cpack -G DEB
ls -1 "$q7_root"/build-release/q7zibo_*.deb
