#!/usr/bin/env bash
# SPDX-License-Identifier: MIT
# Times the level checker: states a second and memory a state of its search
# on a generated level, and the proof of the bundled adventure; prints
# medians of several runs.
# Usage: bench/check.sh [BUILD_DIR] [RUNS] [STATES]   (default: the optimised build)
set -euo pipefail
cd "$(dirname "$0")/.."

build=${1:-build/release}
runs=${2:-7}
states=${3:-4000000}
if [ "$build" = build/release ]; then
    cmake --preset release >/dev/null
fi
cmake --build "$build" --target checkbench quillmoordata >/dev/null
"$build/bench/checkbench" "$build/bin" "$runs" "$states"
