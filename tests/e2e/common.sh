# Sourced by the scripts beside it, with the program's path: runs the script again inside Xvfb,
# then gives it a copy of the program in a fresh program directory with seven sheet files, its
# own settings, runtime and state folders, a window manager, and the helpers below.
set -euo pipefail

binary="$(readlink -f "$1")"
if [ -z "${Q7_E2E_INNER:-}" ]; then
  export Q7_E2E_INNER=1
  exec xvfb-run -a -s "-screen 0 1280x1024x24" "$0" "$binary"
fi

work="$(mktemp -d)"
trap 'kill -9 ${wm:-} ${app:-} 2>/dev/null || true; wait 2>/dev/null || true; rm -rf "$work"' EXIT
mkdir -p "$work/prog" "$work/config" "$work/state" "$work/docs"
mkdir -m 700 "$work/run"
cp "$binary" "$work/prog/q7zibo"
for n in 1 2 3 4 5 6 7; do printf 'sheet %s\r\n' "$n" > "$work/prog/q$n.txt"; done
export XDG_CONFIG_HOME="$work/config" XDG_RUNTIME_DIR="$work/run" XDG_STATE_HOME="$work/state"
export QT_QPA_PLATFORM=xcb LANG=C.UTF-8
unset SESSION_MANAGER
conf="$work/config/q7Zibo/q7Zibo.conf"

fail() { echo "FAIL: $*" >&2; exit 1; }
# Fails with message $3 unless file $1 holds the line $2, ended with CR LF.
holds() { [ "$(cat "$1")" = "$(printf '%s\r' "$2")" ] || fail "$3: $(od -An -c "$1" | tr -s ' ')"; }
# Runs the command given until it succeeds, for up to 10 s.
await() { for _ in $(seq 1 100); do "$@" && return 0; sleep 0.1; done; return 1; }
gone() { ! kill -0 "$app" 2>/dev/null; }
# Checksums of every file under the given folders of the work folder.
files() { (cd "$work" && find "$@" -type f -exec sha1sum {} + | sort); }

# Waits for a window whose title matches $1 (the test's time limit ends a wait in vain) and
# activates it, as $win.
show() {
  win="$(xdotool search --sync --onlyvisible --name "$1" | head -n 1)"
  xdotool windowactivate --sync "$win"
  sleep 0.5
}
# Starts the program, until its first window (titled like $1) shows.
start() { "$work/prog/q7zibo" & app=$!; show "$1"; }
# Waits up to 10 s for the program to end after $1; it must end with status 0.
ended() {
  await gone || fail "program still running after $1"
  wait "$app" || fail "program ended with status $? after $1"
  app=
}
close() { xdotool windowactivate --sync "$win"; xdotool key alt+F4; ended Alt+F4; }
# The desktop session ends.
term() { kill -TERM "$app"; ended SIGTERM; }

openbox >/dev/null 2>&1 & wm=$!
sleep 1
