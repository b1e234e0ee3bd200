#!/usr/bin/env bash
# Compiles every Windows-only source (src/**/*_win.cpp) with the MinGW-w64 cross compiler in
# syntax-only mode against the installed Qt headers. No Windows Qt is at hand here, so nothing is
# linked, but a change that breaks these files fails the run instead of waiting for a Windows build.
set -euo pipefail

root="$(cd "$(dirname "${BASH_SOURCE[0]}")/.." && pwd)"
cxx="${MINGW_CXX:-x86_64-w64-mingw32-g++-posix}"
command -v "$cxx" >/dev/null || { echo "check-windows: $cxx not found" >&2; exit 1; }
qt="${QT_HEADERS:-$(qmake6 -query QT_INSTALL_HEADERS 2>/dev/null || true)}"
[ -d "$qt/QtCore" ] || { echo "check-windows: no Qt 6 headers (set QT_HEADERS)" >&2; exit 1; }

# The headers are the Linux build's: their export macros differ from a Windows Qt's, which only
# warns. Both modules the program uses are on the path for every file.
flags=(-fsyntax-only -std=c++20 -Wall -Wextra -Wno-attributes -DUNICODE -D_UNICODE
       -I "$root/src" -I "$qt")
for module in QtCore QtGui QtWidgets QtNetwork; do
  [ -d "$qt/$module" ] && flags+=(-I "$qt/$module")
done

mapfile -t sources < <(cd "$root" && find src -name '*_win.cpp' | sort)
[ ${#sources[@]} -gt 0 ] || { echo "check-windows: no *_win.cpp found" >&2; exit 1; }
passed=0 failed=0
for src in "${sources[@]}"; do
  if "$cxx" "${flags[@]}" "$root/$src"; then
    passed=$((passed + 1))
  else
    echo "check-windows: $src does not compile for Windows" >&2
    failed=$((failed + 1))
  fi
done
echo "windows sources: $passed passed, $failed failed"
[ "$failed" -eq 0 ]
