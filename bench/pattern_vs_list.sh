#!/usr/bin/env bash
# The PDF of 15,000 markers from a pattern ('W{1-15000}') against the same
# markers from a wire list, on the 15 × 25 sheet of bench/full-sheet.sh's
# kind (40 sheets). Prints the median seconds of RUNS runs of each.
# Usage: bench/pattern_vs_list.sh [TAVROMARK [RUNS]]
set -euo pipefail
top=$(cd "$(dirname "$0")/.." && pwd)
bin=${1:-$top/build/src/tavromark}
runs=${2:-5}
work=$(mktemp -d)
trap 'rm -rf "$work"' EXIT
export XDG_CONFIG_HOME=$work/config QT_QPA_PLATFORM=offscreen

# A4, 15 × 25 labels of 12 × 10 mm, every label selected.
python3 - "$top/tests/data/default.tav" "$work/sheet.tav" <<'PY'
import struct, sys
src = open(sys.argv[1], 'rb').read()
head = 1 + src[0]
record = src[head + 72:head + 72 + 125]
out = [src[:head], struct.pack('<8d2i', 210, 297, 5, 5, 5, 5, 12, 10, 15, 25)]
out += [record] * (15 * 25)
open(sys.argv[2], 'wb').write(b''.join(out))
PY
seq -f 'W%g' 1 15000 >"$work/wires.csv"

median() {
  local -a times=()
  for _ in $(seq "$runs"); do
    local start end
    start=$(date +%s.%N)
    # A run that fails times nothing: the benchmark fails with its message.
    if ! "$@" >/dev/null 2>"$work/stderr"; then
      echo "failed: $*" >&2
      cat "$work/stderr" >&2
      exit 1
    fi
    end=$(date +%s.%N)
    times+=("$(echo "$end - $start" | bc -l)")
  done
  printf '%s\n' "${times[@]}" | sort -n | awk '{a[NR]=$1} END {printf "%.3f", a[int((NR+1)/2)]}'
}
# Assigned first, so that set -e sees a failed run.
pattern=$(median "$bin" --pdf "$work/p.pdf" --pattern 'W{1-15000}' --allow-clipping "$work/sheet.tav")
list=$(median "$bin" --pdf "$work/l.pdf" --list "$work/wires.csv" --allow-clipping "$work/sheet.tav")
printf 'pattern W{1-15000}: %s s\n' "$pattern"
printf 'wire list of 15,000 rows: %s s\n' "$list"
for pdf in p l; do pdfinfo "$work/$pdf.pdf" | grep Pages; done
