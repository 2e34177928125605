#!/usr/bin/env bash
# Installs what is missing, builds, and runs every test (core, front end
# offscreen, end-to-end, a short fuzzing run).
set -euo pipefail
top=$(cd "$(dirname "$0")/.." && pwd)
"$top/scripts/install-deps.sh"
"$top/scripts/build.sh"
cd "${TAVRO_BUILD_DIR:-$top/build}"
ctest --output-on-failure -j"$(nproc)" "$@"
