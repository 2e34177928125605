#!/usr/bin/env bash
# A wire-list job to PDF against its floor, a bare Qt program drawing the
# same texts (bench/tools/job_floor.cpp), at 40, 400 and 2,667 sheets of 375
# markers: the median CPU seconds of RUNS runs of each, their ratio, and each
# one's peak memory.
# Usage: bench/job_vs_floor.sh [BUILD [RUNS]]
set -euo pipefail
build=${1:-build}
runs=${2:-5}
bin=$build/bench/tavro_job_floor
work=$(mktemp -d)
trap 'rm -rf "$work"' EXIT
export QT_QPA_PLATFORM=offscreen XDG_CONFIG_HOME=$work/config

median() { sort -n | awk '{ v[NR] = $1 } END { print (NR % 2) ? v[(NR + 1) / 2] : (v[NR / 2] + v[NR / 2 + 1]) / 2 }'; }

printf '%8s %10s %10s %7s %12s %12s\n' sheets ours floor ratio "ours peak" "floor peak"
for sheets in 40 400 2667; do
  n=$runs
  [[ $sheets -gt 1000 ]] && n=1
  for mode in ours floor; do
    : >"$work/$mode.times"
    for _ in $(seq "$n"); do
      "$bin" "$mode" "$sheets" "$work/$mode.pdf" 2>/dev/null >>"$work/$mode.times"
    done
  done
  ours=$(cut -d' ' -f1 "$work/ours.times" | median)
  floor=$(cut -d' ' -f1 "$work/floor.times" | median)
  ours_peak=$(cut -d' ' -f2 "$work/ours.times" | sort -n | tail -1)
  floor_peak=$(cut -d' ' -f2 "$work/floor.times" | sort -n | tail -1)
  awk -v s="$sheets" -v o="$ours" -v f="$floor" -v op="$ours_peak" -v fp="$floor_peak" \
    'BEGIN { printf "%8d %9.3fs %9.3fs %7.2f %9.1f MB %9.1f MB\n", s, o, f, o / f, op / 1024, fp / 1024 }'
done
