#!/usr/bin/env bash
# Builds the wire list fuzzer with clang (libFuzzer, AddressSanitizer,
# UndefinedBehaviorSanitizer) and runs it, as run-fuzzer.sh does for sheets.
#   run-wirelist-fuzzer.sh BUILD_DIR SECONDS [extra libFuzzer flags]
# The seeds are the wire list fixtures of tests/data/wirelists.
set -euo pipefail
here=$(cd "$(dirname "$0")" && pwd)
src=$(cd "$here/../../src" && pwd)
seeds=$(cd "$here/../data/wirelists" && pwd)
out=$1 seconds=$2
shift 2
mkdir -p "$out/wirelist-corpus"
fuzzer="$out/wirelist_fuzzer"

# The core files the reader needs; src/wirelist also holds Qt files.
sources=("$here/wirelist_fuzzer.cpp" "$src/model/Gbk.cpp" "$src/text/EditText.cpp")
for name in TableBuilder TextList WireListReader WireMarkers WireTable Workbook; do
  sources+=("$src/wirelist/$name.cpp")
done
if [[ ! -x $fuzzer ]] || [[ -n $(find "$here" "$src/wirelist" "$src/model" "$src/text" -newer "$fuzzer" -name '*.[ch]*' -print -quit) ]]; then
  # shellcheck disable=SC2046
  clang++ -std=c++20 -g -O1 -fsanitize=fuzzer,address,undefined \
    -fno-sanitize-recover=undefined -I"$src" $(pkg-config --cflags libzip expat uchardet) "${sources[@]}" \
    $(pkg-config --libs libzip expat uchardet) -o "$fuzzer"
fi

export ASAN_OPTIONS=detect_leaks=1:allocator_may_return_null=0
export UBSAN_OPTIONS=print_stacktrace=1:halt_on_error=1
# The hostile fixtures are seeds too, except the bomb, whose refusal is
# tested elsewhere and which would only slow every replay.
corpus=$out/wirelist-seeds
mkdir -p "$corpus"
find "$seeds" -type f ! -name 'bomb.xlsx' ! -name '*.sh' ! -name '*.py' -exec cp {} "$corpus" \;
if [[ $seconds -eq 0 ]]; then
  "$fuzzer" -runs=0 -rss_limit_mb=1024 "$corpus" "$@"
else
  "$fuzzer" -max_total_time="$seconds" -max_len=65536 -rss_limit_mb=1024 -malloc_limit_mb=256 -timeout=30 \
    -print_final_stats=1 "$out/wirelist-corpus" "$corpus" "$@"
fi
