#!/usr/bin/env bash
# Runs one fuzzer built by build-fuzzers.sh (or in a TAVRO_FUZZ build):
#   run-fuzzer.sh FUZZER SEEDS CORPUS SECONDS [extra libFuzzer flags]
# The seeds stay as committed; new inputs go to CORPUS. With SECONDS 0 it
# only replays the seeds and the corpus. Crashes are saved in CORPUS/../.
set -euo pipefail
fuzzer=$1 seeds=$2 corpus=$3 seconds=$4
shift 4
mkdir -p "$corpus"
export ASAN_OPTIONS=detect_leaks=1:allocator_may_return_null=0
export UBSAN_OPTIONS=print_stacktrace=1:halt_on_error=1
if [[ $seconds -eq 0 ]]; then
  exec "$fuzzer" -runs=0 -rss_limit_mb=512 "$corpus" "$seeds" "$@"
fi
exec "$fuzzer" -max_total_time="$seconds" -max_len=65536 -rss_limit_mb=512 -malloc_limit_mb=64 \
  -print_final_stats=1 -artifact_prefix="$(dirname "$corpus")/$(basename "$corpus")-" "$corpus" "$seeds" "$@"
