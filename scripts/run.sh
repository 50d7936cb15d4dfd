#!/usr/bin/env bash
# Installs what is missing, builds and starts the main program.
set -euo pipefail
top=$(cd "$(dirname "$0")/.." && pwd)
"$top/scripts/install-deps.sh"
"$top/scripts/build.sh"
exec "${BOVANTIS_BUILD_DIR:-$top/build}/bin/ZR_Bovantis" "$@"
