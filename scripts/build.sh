#!/usr/bin/env bash
# Configures and builds the whole project into build/ (or $BOVANTIS_BUILD_DIR).
set -euo pipefail
top=$(cd "$(dirname "$0")/.." && pwd)
build=${BOVANTIS_BUILD_DIR:-$top/build}

# The compiler cache lives outside the checkout, so fresh clones on this machine reuse it.
export CCACHE_DIR=${CCACHE_DIR:-/var/cache/bovantis-ccache}
mkdir -p "$CCACHE_DIR" 2>/dev/null || export CCACHE_DIR=$HOME/.cache/bovantis-ccache
export CCACHE_BASEDIR=$top
export CCACHE_NOHASHDIR=1
export CCACHE_SLOPPINESS=pch_defines,time_macros,include_file_mtime,include_file_ctime
ccache --max-size=20G >/dev/null 2>&1 || true

# Ninja's moc step does not notice headers that arrive in a globbed folder; let it look again
# every time (it only regenerates what changed).
[ -d "$build" ] && find "$build" -path '*_autogen/timestamp' -delete
cmake -S "$top" -B "$build" -G Ninja -DCMAKE_BUILD_TYPE=RelWithDebInfo >/dev/null
# The load limit keeps parallel builds on one machine from starving each other.
cmake --build "$build" -j "$(nproc)" -- -l "$(nproc)"
