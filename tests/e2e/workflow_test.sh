#!/usr/bin/env bash
# The real program in a real X display with a window manager, driven by keys and the clipboard:
# what only it shows (the real file dialog, the outer frame's width, typed text outliving a kill,
# SIGTERM as the session's end, even during the start-up question). The commands themselves are
# tested offscreen.
set -euo pipefail

binary="$(readlink -f "$1")"
if [ -z "${Q7_E2E_INNER:-}" ]; then
  export Q7_E2E_INNER=1
  exec xvfb-run -a -s "-screen 0 1280x1024x24" "$0" "$binary"
fi

# A copy of the program beside seven sheet files, with folders of its own.
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
hex() { od -An -tx1 -v "$1" | tr -d ' \n'; }
cp932() { printf '%s' "$1" | iconv -f UTF-8 -t CP932 | od -An -tx1 -v | tr -d ' \n'; }
key() { xdotool key --clearmodifiers "$@"; sleep 0.4; }
paste_text() { printf '%s' "$1" | xclip -selection clipboard -i; sleep 0.2; key ctrl+v; }
# Waits up to 30 s for a visible window whose title matches $1; its id.
window() { timeout 30 xdotool search --sync --onlyvisible --name "$1" | head -n 1 | grep .; }
# Activates that window, as $win.
show() {
  win="$(window "$1")" || fail "no window titled like $1"
  xdotool windowactivate --sync "$win"
  sleep 0.5
}
# Starts the program, until its first window (titled like $1) shows.
start() { "$work/prog/q7zibo" & app=$!; show "$1"; }
# Waits up to 10 s for the program to end after $1; it must end with status 0.
gone() { ! kill -0 "$app" 2>/dev/null; }
ended() {
  await gone || fail "program still running after $1"
  wait "$app" || fail "program ended with status $? after $1"
  app=
}
term() { kill -TERM "$app"; ended SIGTERM; }

openbox >/dev/null 2>&1 & wm=$!
sleep 1

start '^q7 Zibo q1$'

# Sheet 1: replace its text with Japanese from the clipboard.
key ctrl+a
paste_text "$(printf '日本語のテキスト abc\r\n二行目 abc')"

# Sheet 2: leave sheet 1 (written now), type, and Save As a new file.
key alt+2
await xdotool search --name '^q7 Zibo q2$' >/dev/null || fail "Alt+2 did not switch to sheet 2"
expected1="$(cp932 "$(printf '日本語のテキスト abc\r\n二行目 abc')")0d0a"
[ "$(hex "$work/prog/q1.txt")" = "$expected1" ] || fail "q1.txt: $(iconv -f CP932 -t UTF-8 "$work/prog/q1.txt")"
key ctrl+End
xdotool type --delay 30 " more"
key alt+f a
window '名前を付けて保存|Save' >/dev/null || fail "no Save As dialog"
sleep 0.5
xdotool type --delay 20 "$work/docs/saved.txt"
key Return
# The form asked next starts from the sheet's: Enter keeps it.
window '保存の形式' >/dev/null || fail "no save form dialog"
sleep 0.3
key Return
await test -f "$work/docs/saved.txt" || fail "Save As wrote no file"
holds "$work/docs/saved.txt" 'sheet 2 more' "saved.txt"

# Alt+F4 writes the current sheet, the settings and the window's outer width.
xdotool windowactivate --sync "$win"
xdotool key alt+F4
ended Alt+F4
holds "$work/prog/q2.txt" 'sheet 2 more' "q2.txt"
[ "$(hex "$work/prog/q1.txt")" = "$expected1" ] || fail "q1.txt changed at exit"
grep -q '^Width=8805$' "$conf" || fail "window width not saved as its outer 8805 twips: $(grep Width "$conf")"

# The next start comes back on sheet 2 and its saved file, as the settings keep them.
start "^q7 Zibo q2 - $work/docs/saved.txt\$"

# Text typed and left for the idle delay outlives SIGKILL; a folder in the program directory's
# way sends the copy to the state folder.
mkdir "$work/prog/q2.txt.recovery"
key ctrl+Home
xdotool type --delay 30 "kept "
aside() { find "$work/state" -name q2.txt.recovery -type f | grep -q .; }
await aside || fail "no recovery copy in the state folder after typing"
kill -9 "$app"
wait "$app" 2>/dev/null || true
app=
rmdir "$work/prog/q2.txt.recovery"

# A session ending during the start-up question ends the program; the copy stays.
start '^q7Zibo$'
term
aside || fail "the copy went when the session ended during the question"

# Enter (Yes) restores the text; the session's end writes what is typed after it.
start '^q7Zibo$'
key Return
show "^q7 Zibo q2 - $work/docs/saved.txt\$"
holds "$work/prog/q2.txt" 'kept sheet 2 more' "Yes did not restore q2.txt"
key ctrl+End
xdotool type --delay 30 " again"
sleep 0.3
term
holds "$work/prog/q2.txt" 'kept sheet 2 more again' "q2.txt not written at session end"
[ -z "$(find "$work/prog" "$work/state" -name '*.recovery')" ] || fail "copies left: $(find "$work" -name '*.recovery')"

echo "e2e workflow test: 1 passed, 0 failed"
