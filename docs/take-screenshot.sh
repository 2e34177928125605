#!/usr/bin/env bash
# Takes the README's screenshots of the main window under Xvfb, cropped to
# the window: main-window.png with the document (docs/sample-7x20.tav by
# default), main-window-menu.png with the file menu open, and edit-menu.png
# with the edit menu open after a cut of every label, then the document's
# print preview (文件 → 打印预览) at fit page as print-preview.png and at fit
# width as print-preview-width.png. Needs xvfb, x11-utils,
# imagemagick and xdotool. Usage: docs/take-screenshot.sh [TAVROMARK [DOCUMENT.tav]]
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
window=$(xdotool search --name 'TAVRO$' | head -1)
eval "$(xdotool getwindowgeometry --shell "$window")"
shot() {
  import -window root -crop "${WIDTH}x${HEIGHT}+${X}+${Y}" +repage "$top/docs/$1"
  echo "wrote docs/$1"
}
shot main-window.png
xdotool key alt+f
sleep 0.5
shot main-window-menu.png
xdotool key Escape
sleep 0.3
xdotool key ctrl+a ctrl+x
sleep 0.5
xdotool key alt+e
sleep 0.5
shot edit-menu.png

# The print preview of the document as it was before the cut (undone).
xdotool key Escape ctrl+z
sleep 0.3
xdotool key alt+f
sleep 0.5
xdotool key v
for _ in $(seq 100); do
  xdotool search --name '^打印预览$' >/dev/null 2>&1 && break
  sleep 0.1
done
preview=$(xdotool search --name '^打印预览$' | head -1)
xdotool windowmove "$preview" 0 0 windowsize "$preview" 900 1000
sleep 1
eval "$(xdotool getwindowgeometry --shell "$preview")"
# The toolbar's first two buttons: fit width, fit page.
xdotool mousemove $((X + 28)) $((Y + 18)) click 1
sleep 1
shot print-preview-width.png
xdotool mousemove $((X + 61)) $((Y + 18)) click 1
sleep 1
shot print-preview.png
