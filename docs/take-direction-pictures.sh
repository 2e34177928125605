#!/usr/bin/env bash
# Retakes the README's pictures of text directions from
# tests/data/direction-sheet.tav: text-directions.png (the window under Xvfb),
# text-direction-menu.png (the format bar's 文字方向 menu open) and
# text-directions-pdf.png (tavromark --pdf through pdftoppm at 100 dpi).
# Needs xvfb, imagemagick, xdotool and poppler-utils.
# Usage: docs/take-direction-pictures.sh [TAVROMARK]
set -euo pipefail
top=$(cd "$(dirname "$0")/.." && pwd)
bin=${1:-$top/build/src/tavromark}
doc=$top/tests/data/direction-sheet.tav
if [[ -z ${TAVRO_IN_XVFB:-} ]]; then
  exec env TAVRO_IN_XVFB=1 xvfb-run -a -s "-screen 0 1280x1024x24" "$0" "$bin"
fi
work=$(mktemp -d)
pid=
trap '[[ -n $pid ]] && kill "$pid" 2>/dev/null; rm -rf "$work"' EXIT
export XDG_CONFIG_HOME=$work/config XDG_DATA_HOME=$work/data

"$bin" --pdf "$work/sheet.pdf" "$doc"
pdftoppm -png -r 100 -singlefile "$work/sheet.pdf" "$top/docs/text-directions-pdf"
echo "wrote docs/text-directions-pdf.png"

"$bin" /nologo "$doc" &
pid=$!
for _ in $(seq 100); do
  xdotool search --name 'TAVRO$' >/dev/null 2>&1 && break
  sleep 0.1
done
sleep 1.5
window=$(xdotool search --name 'TAVRO$' | head -1)
xdotool windowsize "$window" 1000 900
sleep 1
eval "$(xdotool getwindowgeometry --shell "$window")"
import -window root -crop "${WIDTH}x${HEIGHT}+${X}+${Y}" +repage "$top/docs/text-directions.png"
echo "wrote docs/text-directions.png"
# The 文字方向 button is the format bar's last.
xdotool mousemove $((X + 360)) $((Y + 66)) click 1
sleep 0.8
import -window root -crop "600x300+$((X + 200))+${Y}" +repage "$top/docs/text-direction-menu.png"
echo "wrote docs/text-direction-menu.png"
