#!/usr/bin/env bash
# A day's work in the real program, in a real X display with a window manager, through the
# keyboard and the clipboard: paste Japanese text, switch sheets with Alt+2, Save As in the real
# file dialog, close with Alt+F4; then check the sheet files, the saved file and the settings
# (the outer width needs a real frame). Then what only the real program shows: typed text
# outlives a kill and comes back on Enter, and the end of the session (SIGTERM) ends it, with
# the typed text written, even while the start-up question is open. The commands themselves are
# tested offscreen (tests/app, tests/commands, tests/find).
set -euo pipefail

binary="$(readlink -f "$1")"
if [ -z "${Q7_E2E_INNER:-}" ]; then
  export Q7_E2E_INNER=1
  exec xvfb-run -a -s "-screen 0 1280x1024x24" "$0" "$binary"
fi

# A copy of the program in a fresh program directory with seven sheet files, its own settings,
# runtime and state folders.
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
# The file's bytes as hex, to compare exactly.
hex() { od -An -tx1 -v "$1" | tr -d ' \n'; }
cp932() { printf '%s' "$1" | iconv -f UTF-8 -t CP932 | od -An -tx1 -v | tr -d ' \n'; }
key() { xdotool key --clearmodifiers "$@"; sleep 0.4; }
paste_text() { printf '%s' "$1" | xclip -selection clipboard -i; sleep 0.2; key ctrl+v; }
# Waits up to 30 s for a visible window whose title matches $1; its id.
window() { timeout 30 xdotool search --sync --onlyvisible --name "$1" | head -n 1 | grep .; }
# Waits up to 10 s for a window titled like $1.
titled() { await xdotool search --name "$1" >/dev/null; }

# Waits for a window whose title matches $1 and activates it, as $win.
show() {
  win="$(window "$1")" || fail "no window titled like $1"
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
# The desktop session ends.
term() { kill -TERM "$app"; ended SIGTERM; }

openbox >/dev/null 2>&1 & wm=$!
sleep 1

start '^q7 Zibo q1$'

# Sheet 1: replace its text with Japanese from the clipboard.
key ctrl+a
paste_text "$(printf '日本語のテキスト abc\r\n二行目 abc')"

# Sheet 2: leave sheet 1 (written now), type, and Save As a new file.
key alt+2
titled '^q7 Zibo q2$' || fail "Alt+2 did not switch to sheet 2"
expected1="$(cp932 "$(printf '日本語のテキスト abc\r\n二行目 abc')")0d0a"
[ "$(hex "$work/prog/q1.txt")" = "$expected1" ] || fail "q1.txt: $(iconv -f CP932 -t UTF-8 "$work/prog/q1.txt")"
key ctrl+End
xdotool type --delay 30 " more"
key alt+f a
window '名前を付けて保存|Save' >/dev/null || fail "no Save As dialog"
sleep 0.5
xdotool type --delay 20 "$work/docs/saved.txt"
key Return
await test -f "$work/docs/saved.txt" || fail "Save As wrote no file"
holds "$work/docs/saved.txt" 'sheet 2 more' "saved.txt"

# Alt+F4 closes the window: the current sheet, the settings and the window's outer width are written.
xdotool windowactivate --sync "$win"
xdotool key alt+F4
ended Alt+F4
holds "$work/prog/q2.txt" 'sheet 2 more' "q2.txt"
[ "$(hex "$work/prog/q1.txt")" = "$expected1" ] || fail "q1.txt changed at exit"
for n in 3 4 5 6 7; do holds "$work/prog/q$n.txt" "sheet $n" "q$n.txt was touched"; done
grep -q '^File=q7 Zibo q2$' "$conf" || fail "current sheet not saved: $(cat "$conf")"
grep -q "^File1=$work/docs/saved.txt\$" "$conf" || fail "sheet 2's saved file not kept: $(cat "$conf")"
grep -q '^Width=8805$' "$conf" || fail "window width not saved as its outer 8805 twips: $(grep Width "$conf")"

# The next start comes back on sheet 2 and its saved file.
start "^q7 Zibo q2 - $work/docs/saved.txt\$"

# Text typed into sheet 2 and left for the idle delay outlives a kill (SIGKILL: nothing of the
# program runs any more). The program directory cannot take the copy here (a folder is in its
# way), so it goes to the state folder the environment names.
mkdir "$work/prog/q2.txt.recovery"
key ctrl+Home
xdotool type --delay 30 "kept "
aside() { find "$work/state" -name q2.txt.recovery -type f | grep -q .; }
await aside || fail "no recovery copy in the state folder after typing"
kill -9 "$app"
wait "$app" 2>/dev/null || true
app=
rmdir "$work/prog/q2.txt.recovery"

# A session that ends while the start-up question is open ends the program, lock and all; the
# question is left unanswered, the copy stays.
start '^q7Zibo$'
term
aside || fail "the copy went when the session ended during the question"

# Enter (Yes) puts the text back into its sheet and file; the sheet shows it, and the end of the
# session writes what is typed after it.
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
