#!/usr/bin/env bash
# Installs what is missing, builds and runs every test (Qt offscreen).
set -euo pipefail
top=$(cd "$(dirname "$0")/.." && pwd)
"$top/scripts/install-deps.sh"
"$top/scripts/build.sh"
export QT_QPA_PLATFORM=offscreen
cd "${BOVANTIS_BUILD_DIR:-$top/build}"
ctest --output-on-failure -j "$(nproc)" "$@"
