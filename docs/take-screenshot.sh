#!/usr/bin/env bash
# Takes the README's screenshot: the main window under Xvfb with the file
# menu open, cropped to the window. Needs xvfb, x11-utils, imagemagick and
# xdotool. Usage: docs/take-screenshot.sh [TAVROMARK [DOCUMENT.tav]]
set -euo pipefail
top=$(cd "$(dirname "$0")/.." && pwd)
bin=${1:-$top/build/src/tavromark}
doc=${2:-}
out=$top/docs/main-window.png
if [[ -z ${TAVRO_IN_XVFB:-} ]]; then
  exec env TAVRO_IN_XVFB=1 xvfb-run -a -s "-screen 0 1280x1024x24" "$0" "$bin" "$doc"
fi
work=$(mktemp -d)
trap 'kill "$pid" 2>/dev/null; rm -rf "$work"' EXIT
XDG_CONFIG_HOME=$work/config XDG_DATA_HOME=$work/data "$bin" /nologo ${doc:+"$doc"} &
pid=$!
for _ in $(seq 100); do
  xdotool search --name ' - TAVRO$' >/dev/null 2>&1 && break
  sleep 0.1
done
sleep 1
window=$(xdotool search --name ' - TAVRO$' | head -1)
xdotool key alt+f
sleep 0.5
eval "$(xdotool getwindowgeometry --shell "$window")"
import -window root -crop "${WIDTH}x${HEIGHT}+${X}+${Y}" +repage "$out"
echo "wrote $out"
