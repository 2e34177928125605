#!/usr/bin/env bash
# The clipboard between the program and LibreOffice Calc in a real X session:
# the HTML Calc writes for a range (its clipboard's richest form) pastes with
# a cell's line break kept, and what the program copies Calc reads back as
# the same cells, as text (a label "=+S1-K1:13" is no formula to it). Calc's
# own HTML filters read and write the clipboard's HTML; soffice runs them
# headless. The program runs on Xvfb and is driven by key presses (xdotool).
# Usage: clipboard_libreoffice.sh TAVROMARK
set -uo pipefail
bin=${1:?usage: $0 path/to/tavromark}
for tool in xvfb-run Xvfb xclip xdotool soffice; do
  command -v "$tool" >/dev/null || exit 77
done
work=$(mktemp -d)
trap 'rm -rf "$work"' EXIT
lo=(soffice "-env:UserInstallation=file://$work/profile" --headless)

# Calc's HTML for two rows of cells: a cell of two lines, one that looks like
# a formula, one that looks like a number; every column as text.
printf '"电机\nM1",W2,=+S1-K1:13,007\n' >"$work/cells.csv"
(cd "$work" && "${lo[@]}" --infilter="CSV:44,34,76,1,1/2/2/2/3/2/4/2,2052" \
  --convert-to 'html:HTML (StarCalc)' cells.csv >/dev/null 2>&1)
[[ -s $work/cells.html ]] || { echo "FAIL: Calc wrote no HTML"; exit 1; }

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
keys() {
  xdotool key --clearmodifiers "$@"
  sleep 0.5
}
# Calc's HTML alone on the clipboard, pasted into the first labels.
xclip -selection clipboard -t text/html -i "$work/cells.html"
sleep 0.3
keys ctrl+v
keys ctrl+c
xclip -o -selection clipboard >"$work/copied.txt" || { echo "FAIL: no text to read back"; exit 1; }
xclip -o -selection clipboard -t text/html >"$work/copied.html" || { echo "FAIL: no HTML to read back"; exit 1; }
SESSION

xvfb-run -a -n $((100 + RANDOM % 900)) -s "-screen 0 1280x1024x24" bash "$work/session.sh" "$bin" "$work" || exit 1
failures=0
# The default sheet is 5 × 14, all selected: the four cells fill the first row.
expected=$(printf '"电机\nM1"\tW2\t=+S1-K1:13\t007\t')
[[ $(cat "$work/copied.txt") == "$expected"* ]] ||
  {
    echo "FAIL: pasted cells: $(head -2 "$work/copied.txt" | od -c | head -5)"
    failures=$((failures + 1))
  }
# Calc reads the copy back: the same cells, none of them evaluated.
(cd "$work" && "${lo[@]}" --infilter="HTML (StarCalc)" \
  --convert-to 'csv:Text - txt - csv (StarCalc):44,34,76' copied.html >/dev/null 2>&1)
expected=$(printf '"电机\nM1",W2,=+S1-K1:13,007')
[[ $(cat "$work/copied.csv" 2>/dev/null) == "$expected"* ]] ||
  {
    echo "FAIL: Calc read the copy as: $(head -3 "$work/copied.csv" 2>/dev/null)"
    failures=$((failures + 1))
  }
((failures)) && exit 1
echo "the clipboard round trip with LibreOffice Calc passed"
