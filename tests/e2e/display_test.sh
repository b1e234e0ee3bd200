#!/usr/bin/env bash
# The real program in a real X display with a window manager, used as a person would: type into
# sheet 1, switch to sheet 2 with Alt+2, close the window with Alt+F4, and check the files; then
# check that a second copy started beside a running one ends at once and touches no file.
set -euo pipefail

binary="$(readlink -f "$1")"
if [ -z "${Q7_E2E_INNER:-}" ]; then
  export Q7_E2E_INNER=1
  exec xvfb-run -a -s "-screen 0 1280x1024x24" "$0" "$binary"
fi

work="$(mktemp -d)"
trap 'kill "${wm:-}" "${app:-}" 2>/dev/null || true; rm -rf "$work"' EXIT
mkdir -p "$work/prog" "$work/config" "$work/run"
chmod 700 "$work/run"
cp "$binary" "$work/prog/q7zibo"
for n in 1 2 3 4 5 6 7; do printf 'sheet %s\r\n' "$n" > "$work/prog/q$n.txt"; done
export XDG_CONFIG_HOME="$work/config" XDG_RUNTIME_DIR="$work/run" QT_QPA_PLATFORM=xcb
unset SESSION_MANAGER

fail() { echo "FAIL: $*" >&2; exit 1; }

openbox >/dev/null 2>&1 & wm=$!
sleep 1

"$work/prog/q7zibo" & app=$!
win="$(xdotool search --sync --onlyvisible --name '^q7 Zibo q1$' | head -n 1)"
[ -n "$win" ] || fail "main window did not appear"
xdotool windowactivate --sync "$win"
sleep 0.5

# Sheet 1 shows its file; type at the start of it.
xdotool key --window "$win" ctrl+Home
xdotool type --delay 30 "hello "
sleep 0.3
xdotool key alt+2
xdotool search --sync --name '^q7 Zibo q2$' >/dev/null || fail "Alt+2 did not switch to sheet 2"
sleep 0.3
got="$(od -An -c "$work/prog/q1.txt" | tr -s ' ')"
[ "$(cat "$work/prog/q1.txt")" = "$(printf 'hello sheet 1\r')" ] || fail "q1.txt after the switch:$got"

# A second copy for the same program directory ends at once without touching any file.
before="$(cd "$work" && find prog config -type f -exec sha1sum {} + | sort)"
timeout 20 "$work/prog/q7zibo" || fail "second instance did not end by itself (status $?)"
after="$(cd "$work" && find prog config -type f -exec sha1sum {} + | sort)"
[ "$before" = "$after" ] || fail "second instance touched files"
kill -0 "$app" || fail "first instance died"

# Close the window as a user does; the settings are written and the program ends.
xdotool windowactivate --sync "$win"
xdotool key alt+F4
for _ in $(seq 1 100); do kill -0 "$app" 2>/dev/null || break; sleep 0.1; done
kill -0 "$app" 2>/dev/null && fail "program still running after Alt+F4"
wait "$app" || fail "program ended with status $?"
app=

conf="$work/config/q7Zibo/q7Zibo.conf"
[ -f "$conf" ] || fail "no settings file at $conf"
grep -q '^File=q7 Zibo q2' "$conf" || fail "current sheet not saved: $(cat "$conf")"
grep -q '^Width=8805$' "$conf" || fail "window width not saved as its outer 8805 twips: $(grep Width "$conf")"
[ "$(cat "$work/prog/q2.txt")" = "$(printf 'sheet 2\r')" ] || fail "q2.txt was rewritten though unchanged"

# The next start comes back on sheet 2; ending the session (SIGTERM) also closes normally.
"$work/prog/q7zibo" & app=$!
win="$(xdotool search --sync --onlyvisible --name '^q7 Zibo q2$' | head -n 1)"
xdotool windowactivate --sync "$win"
xdotool type --delay 30 "more "
sleep 0.3
kill -TERM "$app"
wait "$app" || fail "SIGTERM did not end the program cleanly"
app=
[ "$(cat "$work/prog/q2.txt")" = "$(printf 'more sheet 2\r')" ] || fail "q2.txt not written at session end"

# A session that ends while the start-up message is open ends the program, lock and all.
mv "$work/prog/q2.txt" "$work/prog/q2.saved"
"$work/prog/q7zibo" & app=$!
xdotool search --sync --onlyvisible --name '^q7Zibo$' >/dev/null || fail "no message for the missing sheet file"
kill -TERM "$app"
for _ in $(seq 1 50); do kill -0 "$app" 2>/dev/null || break; sleep 0.1; done
kill -0 "$app" 2>/dev/null && fail "SIGTERM during the start-up message left the program running"
wait "$app" || fail "program ended with status $? after SIGTERM during the start-up message"
app=
mv "$work/prog/q2.saved" "$work/prog/q2.txt"
"$work/prog/q7zibo" & app=$!
xdotool search --sync --onlyvisible --name '^q7 Zibo q2$' >/dev/null || fail "no start after a session end at start-up"
kill -TERM "$app"
wait "$app" || fail "SIGTERM did not end the program cleanly"
app=

echo "e2e display test: 1 passed, 0 failed"
