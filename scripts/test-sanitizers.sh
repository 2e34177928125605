#!/usr/bin/env bash
# Builds the core and front-end tests with AddressSanitizer and
# UndefinedBehaviorSanitizer into build-asan/ (or $TAVRO_ASAN_BUILD_DIR) and
# runs them; any finding fails the run. Benchmarks, the fuzzer and the
# end-to-end scripts stay with the plain build (scripts/test.sh).
set -euo pipefail
top=$(cd "$(dirname "$0")/.." && pwd)
build=${TAVRO_ASAN_BUILD_DIR:-$top/build-asan}
sanitize="-fsanitize=address,undefined -fno-omit-frame-pointer -fno-sanitize-recover=undefined"
if [[ ! -f $build/build.ninja ]]; then
  cmake -S "$top" -B "$build" -G Ninja -DCMAKE_BUILD_TYPE=RelWithDebInfo \
    -DCMAKE_CXX_FLAGS="$sanitize" -DCMAKE_EXE_LINKER_FLAGS="$sanitize" \
    -DTAVRO_BUILD_BENCH=OFF
fi
cmake --build "$build" --target tavro_core_tests tavro_ui_tests
cd "$build"
export ASAN_OPTIONS=${ASAN_OPTIONS:-detect_leaks=1:abort_on_error=0:strict_string_checks=1:detect_stack_use_after_return=1}
export UBSAN_OPTIONS=${UBSAN_OPTIONS:-print_stacktrace=1:halt_on_error=1}
ctest --output-on-failure -j"$(nproc)" -L '^(core|ui)$' "$@"
