#!/usr/bin/env bash
# A day's work in the real program, in a real X display, through the keyboard and the clipboard:
# paste Japanese text, quote it, convert it, find and replace, switch sheets, Save As, exit, start
# again; then check every sheet file, the saved file and the settings. A sheet whose file uses the
# second codes of CP932 characters keeps them when the program writes it back.
. "$(dirname "$0")/common.sh" "$1"
# Sheet 3: ∵ in NEC row 13 and 纊 as the NEC-selected IBM code, not the codes the converter prefers.
printf '\x87\x9a\xed\x40\r\n' > "$work/prog/q3.txt"
# The file's bytes as hex, to compare exactly.
hex() { od -An -tx1 -v "$1" | tr -d ' \n'; }
cp932() { printf '%s' "$1" | iconv -f UTF-8 -t CP932 | od -An -tx1 -v | tr -d ' \n'; }
key() { xdotool key --clearmodifiers "$@"; sleep 0.4; }
paste_text() { printf '%s' "$1" | xclip -selection clipboard -i; sleep 0.2; key ctrl+v; }
window() { xdotool search --sync --onlyvisible --name "$1" | head -n 1; }

start '^q7 Zibo q1$'

# Sheet 1: replace its text with Japanese from the clipboard.
key ctrl+a
paste_text "$(printf '日本語のテキスト abc\r\n二行目 abc')"
# Quote every line (Edit > add quote marks to the selection), then make it all full-width.
key ctrl+a
key alt+e i
key ctrl+a
key alt+c z
# Find and replace: every ａｂｃ becomes xyz. The dialog starts with the selection: start afresh.
key ctrl+End
key ctrl+f
find="$(window '^q7 Zibo$')" # the Find dialog
key alt+n
key ctrl+a
paste_text 'ａｂｃ'
key alt+p
xdotool type --delay 30 xyz
key alt+s # Replace All opens up after a first find, which hands the focus to the text
xdotool windowactivate --sync "$find"
key alt+a
sleep 0.5
key Return # "置換が終了しました。"
key alt+c
sleep 0.5
xdotool windowactivate --sync "$win"

# Sheet 2: leave sheet 1 (written now), type, and Save As a new file.
key alt+2
xdotool search --sync --name '^q7 Zibo q2$' >/dev/null || fail "Alt+2 did not switch to sheet 2"
expected1="$(cp932 "$(printf '＞日本語のテキスト　xyz\r\n＞二行目　xyz')")0d0a"
[ "$(hex "$work/prog/q1.txt")" = "$expected1" ] || fail "q1.txt: $(iconv -f CP932 -t UTF-8 "$work/prog/q1.txt")"
key ctrl+End
xdotool type --delay 30 " more"
key alt+f a
window '名前を付けて保存|Save' >/dev/null
sleep 0.5
xdotool type --delay 20 "$work/docs/saved.txt"
key Return
await test -f "$work/docs/saved.txt" || fail "Save As wrote no file"
holds "$work/docs/saved.txt" 'sheet 2 more' "saved.txt"

# Sheet 3: an edit, and the second codes stay as they were.
xdotool windowactivate --sync "$win"
key alt+3
xdotool search --sync --name '^q7 Zibo q3$' >/dev/null || fail "Alt+3 did not switch to sheet 3"
key ctrl+Home
xdotool type --delay 30 "a"

# Exit through the File menu: the current sheet and the settings are written.
key alt+f x
ended "File > Exit"

[ "$(hex "$work/prog/q3.txt")" = "61879aed400d0a" ] || fail "q3.txt lost its codes: $(hex "$work/prog/q3.txt")"
holds "$work/prog/q2.txt" 'sheet 2 more' "q2.txt"
[ "$(hex "$work/prog/q1.txt")" = "$expected1" ] || fail "q1.txt changed at exit"
for n in 4 5 6 7; do holds "$work/prog/q$n.txt" "sheet $n" "q$n.txt was touched"; done
grep -q '^File=q7 Zibo q3$' "$conf" || fail "current sheet not saved: $(cat "$conf")"
grep -q "^File1=$work/docs/saved.txt\$" "$conf" || fail "sheet 2's saved file not kept: $(cat "$conf")"

# The next start comes back on sheet 3 with its text; leaving it unchanged writes nothing.
before="$(files prog docs)"
start '^q7 Zibo q3$'
key ctrl+a
key ctrl+c
[ "$(xclip -selection clipboard -o)" = "a∵纊" ] || fail "sheet 3 reads back as: $(xclip -selection clipboard -o)"
close
[ "$before" = "$(files prog docs)" ] || fail "a start and exit without edits changed files"

echo "e2e workflow test: 1 passed, 0 failed"
