#!/usr/bin/env bash
# Installs the build into a temporary prefix and checks what a desktop needs of it.
#   install_test.sh BUILD_DIR layout      the installed tree, and the installed program keeping
#                                         its sheets in the user's data folder (a copy that is not
#                                         installed keeps them beside itself: the e2e test)
#   install_test.sh BUILD_DIR validators  the desktop entry and the AppStream metadata pass their
#                                         validators (skipped, exit 77, when they are missing)
set -euo pipefail
build="$1" mode="$2"
app_id=io.github.q7zibo.q7zibo
tmp="$(mktemp -d)"
first=""
cleanup() {
  [ -n "$first" ] && kill -KILL "$first" 2>/dev/null
  chmod -R u+w "$tmp"
  rm -rf "$tmp"
}
trap cleanup EXIT
fail() { echo "FAIL: $*" >&2; exit 1; }

prefix="$tmp/prefix"
cmake --install "$build" --prefix "$prefix" >/dev/null

if [ "$mode" = validators ]; then
  command -v desktop-file-validate >/dev/null && command -v appstreamcli >/dev/null || {
    echo "desktop-file-validate or appstreamcli missing: skipped"; exit 77; }
  desktop-file-validate "$prefix/share/applications/$app_id.desktop"
  appstreamcli validate --no-net "$prefix/share/metainfo/$app_id.metainfo.xml"
  exit 0
fi

expected="bin/q7zibo
share/applications/$app_id.desktop
share/icons/hicolor/scalable/apps/q7zibo.svg
share/metainfo/$app_id.metainfo.xml
share/q7zibo/q7Zibo.hlp"
actual="$(cd "$prefix" && find . -type f | sed 's|^\./||' | sort)"
[ "$actual" = "$expected" ] || fail "installed tree differs:
$actual"
grep -qx 'Exec=q7zibo %f' "$prefix/share/applications/$app_id.desktop" || fail "Exec line"

export QT_QPA_PLATFORM=offscreen ASAN_OPTIONS=detect_leaks=0
export XDG_CONFIG_HOME="$tmp/config" XDG_RUNTIME_DIR="$tmp/run"
mkdir -m 700 "$XDG_RUNTIME_DIR"

# Runs one copy in the background until it takes hand-overs: a second start ends at once once
# the first copy has confirmed it, which it does from its event loop, with the window built.
start_first() {
  rm -f "$XDG_RUNTIME_DIR"/q7Zibo-*
  "$@" & first=$!
  for _ in $(seq 600); do
    compgen -G "$XDG_RUNTIME_DIR/q7Zibo-*" >/dev/null && break
    kill -0 "$first" 2>/dev/null || fail "$1 ended at start"
    sleep 0.1
  done
  timeout 20 "$@" || fail "second start: exit status $?"
  kill -0 "$first" 2>/dev/null || fail "$1 ended"
}
# Ends it as the desktop session would, which writes its sheets and settings.
end_first() {
  kill -TERM "$first"
  wait "$first" || fail "exit status $? at session end"
  first=""
}

# The installed copy, its bin folder not writable (root writes there all the same: the manual's
# installed place tells it apart).
chmod a-w "$prefix/bin"
export XDG_DATA_HOME="$tmp/data"
start_first "$prefix/bin/q7zibo"
(cd "$XDG_DATA_HOME/q7Zibo" && ls q{1..7}.txt >/dev/null) || fail "sheet files not made in the data folder"
end_first
[ "$(ls "$prefix/bin")" = q7zibo ] || fail "files written beside the installed program"

echo "ok"
