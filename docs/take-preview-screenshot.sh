#!/usr/bin/env bash
# Takes docs/print-preview.png under Xvfb: 文件 → 打印预览 of a document
# (docs/sample-7x20.tav by default) at fit page, cropped to the preview
# window, and docs/print-preview-width.png at fit width. Needs xvfb,
# imagemagick and xdotool.
# Usage: docs/take-preview-screenshot.sh [TAVROMARK [DOCUMENT.tav]]
set -euo pipefail
top=$(cd "$(dirname "$0")/.." && pwd)
bin=${1:-$top/build/src/tavromark}
doc=${2:-$top/docs/sample-7x20.tav}
if [[ -z ${TAVRO_IN_XVFB:-} ]]; then
  exec env TAVRO_IN_XVFB=1 xvfb-run -a -s "-screen 0 1280x1024x24" "$0" "$bin" "$doc"
fi
work=$(mktemp -d)
trap 'kill "$pid" 2>/dev/null; rm -rf "$work"' EXIT
XDG_CONFIG_HOME=$work/config XDG_DATA_HOME=$work/data "$bin" /nologo "$doc" &
pid=$!
for _ in $(seq 100); do
  xdotool search --name 'TAVRO$' >/dev/null 2>&1 && break
  sleep 0.1
done
sleep 1
xdotool key alt+f
sleep 0.5
xdotool key v
for _ in $(seq 100); do
  xdotool search --name '^打印预览$' >/dev/null 2>&1 && break
  sleep 0.1
done
window=$(xdotool search --name '^打印预览$' | head -1)
xdotool windowmove "$window" 0 0 windowsize "$window" 900 1000
sleep 1
eval "$(xdotool getwindowgeometry --shell "$window")"
# The toolbar's first two buttons: fit width, fit page.
shot() {
  xdotool mousemove $((X + $2)) $((Y + 18)) click 1
  sleep 1
  import -window root -crop "${WIDTH}x${HEIGHT}+${X}+${Y}" +repage "$top/docs/$1"
  echo "wrote docs/$1"
}
shot print-preview-width.png 28
shot print-preview.png 61
