#!/usr/bin/env bash
# The real program in a real X display with a window manager, used as a person would: Alt+2
# switches the sheet, Alt+F4 closes the window and leaves the sheet and the window's width in the
# settings; the end of the session closes normally, even while the start-up message is open.
. "$(dirname "$0")/common.sh" "$1"

start '^q7 Zibo q1$'
xdotool key alt+2
xdotool search --sync --name '^q7 Zibo q2$' >/dev/null || fail "Alt+2 did not switch to sheet 2"
close
grep -q '^File=q7 Zibo q2' "$conf" || fail "current sheet not saved: $(cat "$conf")"
grep -q '^Width=8805$' "$conf" || fail "window width not saved as its outer 8805 twips: $(grep Width "$conf")"

# The next start comes back on sheet 2; ending the session writes it.
start '^q7 Zibo q2$'
xdotool type --delay 30 "more "
sleep 0.3
term
holds "$work/prog/q2.txt" 'more sheet 2' "q2.txt not written at session end"

# A session that ends while the start-up message is open ends the program, lock and all.
mv "$work/prog/q2.txt" "$work/prog/q2.saved"
start '^q7Zibo$' # the message for the missing sheet file
term
mv "$work/prog/q2.saved" "$work/prog/q2.txt"
start '^q7 Zibo q2$'
term

echo "e2e display test: 1 passed, 0 failed"
