#!/usr/bin/env bash
# The clipboard of a real X session: text another program put on it (xclip)
# pastes into the labels, and what the program copies reads back in xclip.
# The program runs on Xvfb and is driven by key presses (xdotool).
# Usage: x_clipboard.sh TAVROMARK
set -uo pipefail
bin=${1:?usage: $0 path/to/tavromark}
for tool in xvfb-run Xvfb xclip xdotool; do
  command -v "$tool" >/dev/null || exit 77
done
work=$(mktemp -d)
trap 'rm -rf "$work"' EXIT

cat >"$work/session.sh" <<'SESSION'
set -uo pipefail
bin=$1 work=$2
QT_QPA_PLATFORM=xcb XDG_DATA_HOME="$work/data" XDG_CONFIG_HOME="$work/config" \
  "$bin" /nologo >"$work/app.log" 2>&1 &
app=$!
trap 'kill $app 2>/dev/null; wait $app 2>/dev/null' EXIT
window=
for _ in $(seq 100); do
  window=$(xdotool search --name ' - TAVRO$' 2>/dev/null | head -1)
  [[ -n $window ]] && break
  sleep 0.1
done
[[ -n $window ]] || { echo "FAIL: no program window"; cat "$work/app.log"; exit 1; }
sleep 0.5
xdotool windowfocus --sync "$window"

# keys KEY...: presses them in the program, then lets it work.
keys() {
  xdotool key --clearmodifiers "$@"
  sleep 0.5
}

# A spreadsheet's two cells, the first of two lines, go into the first two
# labels of the new sheet (all of it selected).
printf '"上\n下"\tW2\n' | xclip -selection clipboard
sleep 0.3
keys ctrl+v
keys ctrl+c
xclip -o -selection clipboard >"$work/copied" || { echo "FAIL: nothing to read back"; exit 1; }
# The default sheet is 5 × 14, all selected: fourteen rows of five cells.
{
  printf '"上\n下"\tW2\t\t\t\n'
  for _ in $(seq 13); do printf '\t\t\t\t\n'; done
} >"$work/expected"
cmp -s "$work/copied" "$work/expected" || {
  echo "FAIL: the copy is not the pasted cells in a 5 x 14 grid:"
  od -c "$work/copied" | head -5
  exit 1
}

# Undo takes the paste back: the copy is empty cells only.
keys ctrl+z
keys ctrl+c
xclip -o -selection clipboard >"$work/copied2"
if tr -d '\t\n' <"$work/copied2" | grep -q .; then
  echo "FAIL: undo left text in the labels"
  exit 1
fi
exit 0
SESSION

xvfb-run -a -n $((100 + RANDOM % 900)) -s "-screen 0 1280x1024x24" bash "$work/session.sh" "$bin" "$work"
