#!/usr/bin/env bash
# Builds the sheet file fuzzer with clang (libFuzzer, AddressSanitizer,
# UndefinedBehaviorSanitizer) and runs it.
#   run-fuzzer.sh BUILD_DIR SECONDS [extra libFuzzer flags]
# With SECONDS 0 it only replays the seed corpus. For a long run:
#   tests/fuzz/run-fuzzer.sh build/fuzz 600
set -euo pipefail
here=$(cd "$(dirname "$0")" && pwd)
src=$(cd "$here/../../src" && pwd)
out=$1 seconds=$2
shift 2
mkdir -p "$out/corpus"
fuzzer="$out/sheet_fuzzer"

# The core files the reader needs; src/model also holds Qt files.
sources=("$here/sheet_fuzzer.cpp")
for name in Archive AtomicFile CLabelRecord CPageFormat CSheet Gbk; do
  sources+=("$src/model/$name.cpp")
done
if [[ ! -x $fuzzer ]] || [[ -n $(find "$here" "$src/model" -newer "$fuzzer" -name '*.[ch]*' -print -quit) ]]; then
  clang++ -std=c++20 -g -O1 -fsanitize=fuzzer,address,undefined \
    -fno-sanitize-recover=undefined -I"$src" "${sources[@]}" -o "$fuzzer"
fi

export ASAN_OPTIONS=detect_leaks=1:allocator_may_return_null=0
export UBSAN_OPTIONS=print_stacktrace=1:halt_on_error=1
# The working corpus grows in $out/corpus; the seeds stay as committed.
if [[ $seconds -eq 0 ]]; then
  "$fuzzer" -runs=0 -rss_limit_mb=512 "$here/corpus" "$@"
else
  "$fuzzer" -max_total_time="$seconds" -max_len=65536 -rss_limit_mb=512 -malloc_limit_mb=64 \
    -print_final_stats=1 "$out/corpus" "$here/corpus" "$@"
fi
