#!/usr/bin/env bash
# Recovery copies in a real X display: type, pause past the idle delay, kill the program
# (SIGKILL: nothing of it runs any more), start it again and answer the question; a second copy
# started beside a running one ends at once and touches no file. Then the same answered No; a
# normal close and an exit without saving leave no copy; a program directory that cannot take
# the copy does not stop the typing.
. "$(dirname "$0")/common.sh" "$1"

copies() { find "$work/prog" "$work/state" -name '*.recovery' -type f | sort; }
no_copies() { [ -z "$(copies)" ] || fail "copies left after $1: $(copies)"; }
# Types $1 at the start of the sheet and waits up to 10 s for its copy beside the sheet.
type_and_await_copy() {
  xdotool key ctrl+Home
  xdotool type --delay 30 "$1"
  await test -f "$work/prog/q1.txt.recovery" || fail "no recovery copy after typing $1"
}
# Starts the program and answers the recovery question with key $1.
start_and_answer() { start '^q7Zibo$'; xdotool key "$1"; show '^q7 Zibo q'; }
crash() { kill -9 "$app"; wait "$app" 2>/dev/null || true; app=; }
q1="$work/prog/q1.txt"

# Typed text survives a kill; Enter (Yes) puts it back into its sheet and file.
start '^q7 Zibo q1$'
type_and_await_copy "kept "
holds "$q1.recovery" 'kept sheet 1' "the copy"
holds "$q1" 'sheet 1' "q1.txt changed before a save point"
before="$(files prog config state)"
timeout 20 "$work/prog/q7zibo" || fail "second instance did not end by itself (status $?)"
[ "$before" = "$(files prog config state)" ] || fail "second instance touched files"
kill -0 "$app" || fail "first instance died"
crash
start_and_answer Return
holds "$q1" 'kept sheet 1' "Yes did not restore q1.txt"
no_copies Yes
# The sheet shows it: more typing and a normal close write both.
xdotool key ctrl+End
xdotool type --delay 30 " more"
close
holds "$q1" 'kept sheet 1 more' "restored text not shown in the sheet"
no_copies "a normal close"

# Answered No (Escape), the copy goes and the file keeps what it had.
start '^q7 Zibo q1$'
type_and_await_copy "lost "
crash
start_and_answer Escape
holds "$q1" 'kept sheet 1 more' "No changed q1.txt"
no_copies No

# Exit without saving removes the copy it made.
type_and_await_copy "dropped "
xdotool key alt+f
sleep 0.3
xdotool key e
ended "exit without saving"
no_copies "exit without saving"
holds "$q1" 'kept sheet 1 more' "exit without saving wrote q1.txt"

# The program directory cannot take the copy (a folder is in its way): typing goes on with no
# message, the copy goes to the state folder and comes back from there.
mkdir "$q1.recovery"
start '^q7 Zibo q1$'
xdotool key ctrl+Home
xdotool type --delay 30 "aside "
aside() { find "$work/state" -name q1.txt.recovery -type f | grep .; }
await aside >/dev/null || fail "no copy in the state folder"
fallback="$(aside)"
xdotool type --delay 30 "still "
sleep 4
holds "$fallback" 'aside still kept sheet 1 more' "typing after the failure did not reach the copy"
xdotool search --onlyvisible --name '^q7Zibo$' >/dev/null && fail "a message interrupted the typing"
crash
rmdir "$q1.recovery"
start_and_answer Return
holds "$q1" 'aside still kept sheet 1 more' "copy from the state folder not restored"
no_copies "restoring from the state folder"
close

echo "e2e recovery test: 1 passed, 0 failed"
