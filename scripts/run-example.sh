#!/usr/bin/env bash
# Installs what is missing, builds, and starts korvane on the bundled example
# folder with every example data file opened.
set -euo pipefail
cd "$(dirname "$0")/.."
scripts/setup.sh
# The program alone: the tests and benchmarks are for scripts/test.sh.
scripts/build.sh korvane
cd examples
args=()
for f in *.dat *.qd; do args+=(-d "$f"); done
exec ../build/korvane "${args[@]}" "$@"
