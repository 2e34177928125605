#!/usr/bin/env bash
# Markers their labels would cut off: a list or pattern job on the command
# line is refused with exit 1 naming the first of them (list rows, or the
# pattern's marker numbers), unless --shrink or --allow-clipping says what to
# do; the two together are a usage error (exit 2).
# Usage: fit_check.sh TAVROMARK
set -uo pipefail
bin=${1:?usage: $0 path/to/tavromark}
here=$(cd "$(dirname "$0")" && pwd)
work=$(mktemp -d)
trap 'rm -rf "$work"' EXIT
source "$(dirname "$0")/pdf_check.bash" # every PDF the program writes passes qpdf --check
export XDG_CONFIG_HOME=$work/config XDG_DATA_HOME=$work/data QT_QPA_PLATFORM=offscreen
sheet=$here/../data/default.tav
fail() { echo "FAIL $*"; exit 1; }

printf 'W001\nW002 -X2:2 -K2:8 -M1:U1\nW003\nW004 -X2:2 -K2:8 -M1:U1\n' >"$work/wires.csv"

# run NAME STATUS MESSAGE ARGS...: runs a --pdf job, checks its exit status,
# that standard error holds MESSAGE, and that a PDF is written only on success.
run() {
  local name=$1 want=$2 message=$3
  shift 3
  rm -f "$work/out.pdf"
  "$bin" --pdf "$work/out.pdf" "$@" "$sheet" 2>"$work/err"
  local status=$?
  [[ $status == "$want" ]] || fail "$name: exit $status, not $want: $(cat "$work/err")"
  grep -qF -- "$message" "$work/err" || fail "$name: '$message' not in: $(cat "$work/err")"
  if [[ $want == 0 ]]; then [[ -s $work/out.pdf ]] || fail "$name: no PDF"; else [[ ! -e $work/out.pdf ]] || fail "$name: a PDF was written"; fi
}

run "a list" 1 "2 markers would be cut off by their labels: row 2 'W002 -X2:2 -K2:8 -M1:U1' (sheet 1, label 1,2), row 4" \
  --list "$work/wires.csv"
run "a pattern" 1 "3 markers would be cut off by their labels: marker 1 'W1 -X2:2 -K2:8 -M1:U1' (sheet 1, label 1,1)" \
  --pattern 'W{1-3} -X2:2 -K2:8 -M1:U1'
run "--shrink" 0 "" --list "$work/wires.csv" --shrink
run "--allow-clipping" 0 "" --list "$work/wires.csv" --allow-clipping
run "both" 2 "--shrink and --allow-clipping cannot be combined" --list "$work/wires.csv" --shrink --allow-clipping
# Only the sheets to print count: sheet 1 of 70 short markers, sheet 2 a long one.
{ seq -f 'W%03g' 1 70; echo 'W071 -X2:2 -K2:8 -M1:U1'; } >"$work/two-sheets.csv"
run "a reprint of the sheet that fits" 0 "" --list "$work/two-sheets.csv" --pages 1
run "the sheet that does not" 1 "row 71 'W071 -X2:2 -K2:8 -M1:U1' (sheet 2, label 1,1)" \
  --list "$work/two-sheets.csv" --pages 2
echo "markers cut off are named, shrunk or allowed"
