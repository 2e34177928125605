#!/usr/bin/env bash
# Installs what is missing, builds, and starts Tavromark with the given
# arguments.
set -euo pipefail
top=$(cd "$(dirname "$0")/.." && pwd)
"$top/scripts/install-deps.sh"
"$top/scripts/build.sh"
exec "${TAVRO_BUILD_DIR:-$top/build}/src/tavromark" "$@"
