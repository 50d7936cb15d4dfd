#!/usr/bin/env bash
# Fails when a C++ file of the project is not formatted as .clang-format says, naming its lines.
set -euo pipefail
cd "${1:-$(dirname "$0")/..}"
find . \( -path './build*' -o -path './.git' \) -prune \
       -o \( -name '*.cpp' -o -name '*.h' \) -type f -print0 |
    xargs -0 -P "$(nproc)" -n 25 clang-format --style=file --dry-run --Werror
