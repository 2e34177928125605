#!/usr/bin/env bash
# Start-up of the whole program under Xvfb: wall-clock time from launching
# the process to the main window's first painted frame, and the peak memory
# (maximum resident set size) of the process. The program is started with
# TAVRO_EXIT_AFTER_FIRST_PAINT=1, which makes it print the time of its first
# paint and quit. Prints the runs and their medians, with and without the
# splash window.
# Usage: bench/startup.sh [TAVROMARK [RUNS [DOCUMENT.tav]]]
set -euo pipefail
top=$(cd "$(dirname "$0")/.." && pwd)
bin=${1:-$top/build/src/tavromark}
runs=${2:-11}
doc=${3:-}
if [[ -z ${TAVRO_IN_XVFB:-} ]]; then
  exec env TAVRO_IN_XVFB=1 xvfb-run -a -s "-screen 0 1280x1024x24" "$0" "$bin" "$runs" "$doc"
fi
work=$(mktemp -d)
trap 'rm -rf "$work"' EXIT
export XDG_CONFIG_HOME=$work/config XDG_DATA_HOME=$work/data

median() { sort -n | awk '{ v[NR] = $1 } END { print (NR % 2) ? v[(NR + 1) / 2] : (v[NR / 2] + v[NR / 2 + 1]) / 2 }'; }

measure() {
  local label=$1
  shift
  local times=() rss=()
  # One run unmeasured: it installs the desktop registration and warms the
  # caches, as every later start finds them.
  TAVRO_EXIT_AFTER_FIRST_PAINT=1 "$bin" "$@" ${doc:+"$doc"} >/dev/null 2>&1
  for _ in $(seq "$runs"); do
    local start end
    start=$(date +%s%N)
    end=$(TAVRO_EXIT_AFTER_FIRST_PAINT=1 /usr/bin/time -v -o "$work/time" "$bin" "$@" ${doc:+"$doc"} 2>/dev/null |
      awk '/^first-paint-ns/ { print $2 }')
    times+=($(((end - start) / 1000)))
    rss+=($(awk -F': ' '/Maximum resident set size/ { print $2 }' "$work/time"))
  done
  local tmed rmed
  tmed=$(printf '%s\n' "${times[@]}" | median)
  rmed=$(printf '%s\n' "${rss[@]}" | median)
  printf '%-22s first paint (ms):' "$label"
  printf ' %s' $(printf '%s\n' "${times[@]}" | awk '{ printf "%.1f\n", $1 / 1000 }')
  printf '\n%-22s median %.1f ms, peak memory median %.1f MB\n' "" "$(echo "$tmed / 1000" | bc -l)" \
    "$(echo "$rmed / 1024" | bc -l)"
}

echo "tavromark start-up under Xvfb, $runs runs each${doc:+, document $doc}"
measure "with splash" 
measure "without splash (/nologo)" /nologo
