#!/usr/bin/env bash
# Start-up of the whole program under Xvfb beside its floor: wall-clock time
# from launching the process to the first painted frame of the sheet, and the
# peak memory (maximum resident set size) of the process. The floor (this
# tree's build/bench/tavro_bare_window) is a bare Qt window with the same
# menus, toolbars and pictures and 375 painted cells; the program opens a
# 15 × 25 sheet with text in every label (bench/full-sheet.sh) unless given a
# document. Both are started with TAVRO_EXIT_AFTER_FIRST_PAINT=1, which makes
# them print the time of their first paint and quit. The three starts (floor,
# program with and without the splash) take turns, run after run, so that a
# change in the machine's load falls on all of them alike. Prints the runs,
# the medians and the program's medians as multiples of the floor's.
# Usage: bench/startup.sh [TAVROMARK [RUNS [DOCUMENT.tav]]]
set -euo pipefail
top=$(cd "$(dirname "$0")/.." && pwd)
bin=${1:-$top/build/src/tavromark}
runs=${2:-15}
doc=${3:-}
floor=$top/build/bench/tavro_bare_window
if [[ -z ${TAVRO_IN_XVFB:-} ]]; then
  exec env TAVRO_IN_XVFB=1 xvfb-run -a -s "-screen 0 1280x1024x24" "$0" "$bin" "$runs" "$doc"
fi
work=$(mktemp -d)
trap 'rm -rf "$work"' EXIT
export XDG_CONFIG_HOME=$work/config XDG_DATA_HOME=$work/data
if [[ -z $doc ]]; then
  # shellcheck source=full-sheet.sh
  source "$top/bench/full-sheet.sh"
  doc=$work/full.tav
  make_full_sheet "$top/tests/data/default.tav" "$doc" "$work/unused.glabels" ''
fi

median() { sort -n | awk '{ v[NR] = $1 } END { print (NR % 2) ? v[(NR + 1) / 2] : (v[NR / 2] + v[NR / 2 + 1]) / 2 }'; }

names=(floor splash nologo)
labels=("bare window (floor)" "tavromark" "tavromark /nologo")
command_of() {
  case $1 in
  floor) cmd=("$floor") ;;
  splash) cmd=("$bin" "$doc") ;;
  nologo) cmd=("$bin" /nologo "$doc") ;;
  esac
}

# One start each unmeasured: it installs the desktop registration and warms
# the caches, as every later start finds them.
for name in "${names[@]}"; do
  command_of "$name"
  TAVRO_EXIT_AFTER_FIRST_PAINT=1 "${cmd[@]}" >/dev/null 2>&1
done
declare -A times rss
for _ in $(seq "$runs"); do
  for name in "${names[@]}"; do
    command_of "$name"
    t0=$(date +%s%N)
    t1=$(TAVRO_EXIT_AFTER_FIRST_PAINT=1 /usr/bin/time -v -o "$work/time" "${cmd[@]}" 2>/dev/null |
      awk '/^first-paint-ns/ { print $2 }')
    if [[ -z $t1 ]]; then
      echo "failed: ${cmd[*]} printed no first paint" >&2
      exit 1
    fi
    times[$name]+="$(((t1 - t0) / 1000)) "
    rss[$name]+="$(awk -F': ' '/Maximum resident set size/ { print $2 }' "$work/time") "
  done
done

echo "start to first paint under Xvfb, $runs runs each, taking turns; document $(basename "$doc")"
echo "load average after the runs: $(cut -d' ' -f1-3 /proc/loadavg)"
declare -A tmed rmed
for i in "${!names[@]}"; do
  name=${names[$i]}
  tmed[$name]=$(printf '%s\n' ${times[$name]} | median)
  rmed[$name]=$(printf '%s\n' ${rss[$name]} | median)
  printf '%-20s ms:' "${labels[$i]}"
  printf ' %s' $(printf '%s\n' ${times[$name]} | awk '{ printf "%.0f\n", $1 / 1000 }')
  printf '\n%-20s median %.1f ms, peak memory median %.1f MB' "" "$(echo "${tmed[$name]} / 1000" | bc -l)" \
    "$(echo "${rmed[$name]} / 1024" | bc -l)"
  if [[ $name != floor ]]; then
    printf ' (%.2f × and %.2f × the floor)' "$(echo "${tmed[$name]} / ${tmed[floor]}" | bc -l)" \
      "$(echo "${rmed[$name]} / ${rmed[floor]}" | bc -l)"
  fi
  printf '\n'
done
