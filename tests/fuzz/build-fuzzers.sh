#!/usr/bin/env bash
# Configures (once) and builds the fuzzers with clang in BUILD_DIR:
#   build-fuzzers.sh BUILD_DIR
set -euo pipefail
top=$(cd "$(dirname "$0")/../.." && pwd)
build=$1
if [[ ! -f $build/build.ninja ]]; then
  cmake -S "$top" -B "$build" -G Ninja -DCMAKE_BUILD_TYPE=RelWithDebInfo -DCMAKE_CXX_COMPILER=clang++ \
    -DTAVRO_FUZZ=ON -DTAVRO_BUILD_BENCH=OFF
fi
cmake --build "$build" --target fuzzers
