#!/usr/bin/env bash
# Recovery copies in a real X display: type, pause past the idle delay, kill the program
# (SIGKILL: nothing of it runs any more), start it again and answer the question; a second copy
# started beside a running one leaves the copies alone. Then the same answered No; two sheets
# named in one question; a normal close and an exit without saving leave no copy; a program
# directory that cannot take the copy does not stop the typing.
set -euo pipefail

binary="$(readlink -f "$1")"
if [ -z "${Q7_E2E_INNER:-}" ]; then
  export Q7_E2E_INNER=1
  exec xvfb-run -a -s "-screen 0 1280x1024x24" "$0" "$binary"
fi

work="$(mktemp -d)"
trap 'kill "${wm:-}" 2>/dev/null || true; [ -n "${app:-}" ] && kill -9 "$app" 2>/dev/null; rm -rf "$work"' EXIT
mkdir -p "$work/prog" "$work/config" "$work/run" "$work/state"
chmod 700 "$work/run"
cp "$binary" "$work/prog/q7zibo"
for n in 1 2 3 4 5 6 7; do printf 'sheet %s\r\n' "$n" > "$work/prog/q$n.txt"; done
export XDG_CONFIG_HOME="$work/config" XDG_RUNTIME_DIR="$work/run" XDG_STATE_HOME="$work/state" QT_QPA_PLATFORM=xcb
unset SESSION_MANAGER

fail() { echo "FAIL: $*" >&2; exit 1; }
copies() { find "$work/prog" "$work/state" -name '*.recovery' -type f | sort; }
# Waits up to 10 s for a file to exist.
await_file() { for _ in $(seq 1 100); do [ -f "$1" ] && return 0; sleep 0.1; done; return 1; }

openbox >/dev/null 2>&1 & wm=$!
sleep 1

# Starts the program and waits for its main window, titled $1.
start() {
  "$work/prog/q7zibo" & app=$!
  win="$(xdotool search --sync --onlyvisible --name "$1" | head -n 1)"
  [ -n "$win" ] || fail "no window $1"
  xdotool windowactivate --sync "$win"
  sleep 0.5
}
# Starts the program and answers the recovery question with key $1.
start_and_answer() {
  "$work/prog/q7zibo" & app=$!
  box="$(xdotool search --sync --onlyvisible --name '^q7Zibo$' | head -n 1)"
  [ -n "$box" ] || fail "no recovery question"
  xdotool windowactivate --sync "$box"
  sleep 0.3
  xdotool key "$1"
  win="$(xdotool search --sync --onlyvisible --name '^q7 Zibo q' | head -n 1)"
  xdotool windowactivate --sync "$win"
  sleep 0.5
}
crash() { kill -9 "$app"; wait "$app" 2>/dev/null || true; app=; }
close_normally() {
  xdotool windowactivate --sync "$win"
  xdotool key alt+F4
  for _ in $(seq 1 100); do kill -0 "$app" 2>/dev/null || break; sleep 0.1; done
  wait "$app" || fail "program ended with status $?"
  app=
}
sheet1() { cat "$work/prog/q1.txt"; }

# Typed text survives a kill; Enter (Yes) puts it back into its sheet and file.
start '^q7 Zibo q1$'
xdotool key ctrl+Home
xdotool type --delay 30 "kept "
await_file "$work/prog/q1.txt.recovery" || fail "no recovery copy after the idle delay"
[ "$(cat "$work/prog/q1.txt.recovery")" = "$(printf 'kept sheet 1\r')" ] || fail "copy holds: $(cat "$work/prog/q1.txt.recovery")"
[ "$(sheet1)" = "$(printf 'sheet 1\r')" ] || fail "q1.txt changed before a save point"
# A second copy started meanwhile ends at once: it neither asks nor touches the copy.
timeout 20 "$work/prog/q7zibo" || fail "second instance did not end by itself (status $?)"
[ "$(cat "$work/prog/q1.txt.recovery")" = "$(printf 'kept sheet 1\r')" ] || fail "second instance touched the copy"
crash
start_and_answer Return
[ "$(sheet1)" = "$(printf 'kept sheet 1\r')" ] || fail "Yes did not restore q1.txt: $(sheet1)"
[ -z "$(copies)" ] || fail "copies left after Yes: $(copies)"
# The sheet shows it: more typing and a normal close write both.
xdotool key ctrl+End
xdotool type --delay 30 " more"
close_normally
[ "$(sheet1)" = "$(printf 'kept sheet 1 more\r')" ] || fail "restored text not shown in the sheet: $(sheet1)"
[ -z "$(copies)" ] || fail "copies left after a normal close: $(copies)"

# Answered No (Escape), the copy goes and the file keeps what it had.
start '^q7 Zibo q1$'
xdotool key ctrl+Home
xdotool type --delay 30 "lost "
await_file "$work/prog/q1.txt.recovery" || fail "no recovery copy for the No round"
crash
start_and_answer Escape
[ "$(sheet1)" = "$(printf 'kept sheet 1 more\r')" ] || fail "No changed q1.txt: $(sheet1)"
[ -z "$(copies)" ] || fail "copies left after No: $(copies)"

# Exit without saving removes the copy it made.
xdotool key ctrl+Home
xdotool type --delay 30 "dropped "
await_file "$work/prog/q1.txt.recovery" || fail "no recovery copy before exit without saving"
xdotool key alt+f
sleep 0.3
xdotool key e
for _ in $(seq 1 100); do kill -0 "$app" 2>/dev/null || break; sleep 0.1; done
wait "$app" || fail "exit without saving ended with status $?"
app=
[ -z "$(copies)" ] || fail "copies left after exit without saving: $(copies)"
[ "$(sheet1)" = "$(printf 'kept sheet 1 more\r')" ] || fail "exit without saving wrote q1.txt"

# Two sheets with copies, one question; Yes restores both.
printf 'two\r\n' > "$work/prog/q2.txt.recovery"
printf 'five\r\n' > "$work/prog/q5.txt.recovery"
start_and_answer Return
[ "$(cat "$work/prog/q2.txt")" = "$(printf 'two\r')" ] || fail "q2.txt not restored"
[ "$(cat "$work/prog/q5.txt")" = "$(printf 'five\r')" ] || fail "q5.txt not restored"
[ -z "$(copies)" ] || fail "copies left after restoring two: $(copies)"
close_normally

# The program directory cannot take the copy (a folder is in its way): typing goes on with no
# message, the copy goes to the state folder and comes back from there.
mkdir "$work/prog/q1.txt.recovery"
start '^q7 Zibo q1$'
xdotool key ctrl+Home
xdotool type --delay 30 "aside "
fallback=
for _ in $(seq 1 100); do
  fallback="$(find "$work/state" -name q1.txt.recovery -type f | head -n 1)"
  [ -n "$fallback" ] && break
  sleep 0.1
done
[ -n "$fallback" ] || fail "no copy in the state folder"
xdotool type --delay 30 "still "
sleep 4
[ "$(cat "$fallback")" = "$(printf 'aside still kept sheet 1 more\r')" ] || fail "typing after the failure did not reach the copy: $(cat "$fallback")"
xdotool search --onlyvisible --name '^q7Zibo$' >/dev/null && fail "a message interrupted the typing"
crash
rmdir "$work/prog/q1.txt.recovery"
start_and_answer Return
[ "$(sheet1)" = "$(printf 'aside still kept sheet 1 more\r')" ] || fail "copy from the state folder not restored: $(sheet1)"
[ -z "$(copies)" ] || fail "copies left after restoring from the state folder: $(copies)"
close_normally

echo "e2e recovery test: 1 passed, 0 failed"
