#!/usr/bin/env bash
# Installs what the build needs on Debian/Ubuntu, only when something is missing, and
# configures and builds into a folder of the source tree. Sourced by run.sh and test.sh, which
# build apart (build/ and build-asan/) so neither rebuilds the other's tree.
set -euo pipefail

q7_root="$(cd "$(dirname "${BASH_SOURCE[0]}")/.." && pwd)"

q7_install() {
  local missing=()
  for pkg in "$@"; do
    dpkg-query -W -f='${Status}' "$pkg" 2>/dev/null | grep -q 'install ok installed' || missing+=("$pkg")
  done
  [ ${#missing[@]} -eq 0 ] && return 0
  local sudo=""
  [ "$(id -u)" -ne 0 ] && sudo="sudo"
  echo "Installing: ${missing[*]}"
  $sudo apt-get update -qq
  DEBIAN_FRONTEND=noninteractive $sudo apt-get install -y -qq --no-install-recommends "${missing[@]}"
}

q7_base_packages=(g++ cmake ninja-build qt6-base-dev libgl-dev qt6-translations-l10n libqt6svg6
                  qt6-qpa-plugins fonts-noto-cjk)

# q7_build FOLDER BUILD_TYPE [CMAKE_ARGS...]: FOLDER is relative to the source tree.
q7_build() {
  local dir="$q7_root/$1" build_type="$2"; shift 2
  cmake -S "$q7_root" -B "$dir" -G Ninja -DCMAKE_BUILD_TYPE="$build_type" "$@" >/dev/null
  cmake --build "$dir" -j "$(nproc)"
}
