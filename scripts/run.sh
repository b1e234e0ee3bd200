#!/usr/bin/env bash
# Installs what is missing, builds build/q7zibo and starts it; arguments are passed on.
set -euo pipefail
source "$(dirname "${BASH_SOURCE[0]}")/setup.sh"
q7_install "${q7_base_packages[@]}"
q7_build build RelWithDebInfo -DQ7_SANITIZE=OFF
exec "$q7_root/build/q7zibo" "$@"
