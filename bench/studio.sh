#!/usr/bin/env bash
# SPDX-License-Identifier: MIT
# Times the studio: a fresh process showing the start dialog beside one
# showing an empty window; start dialog to map window; and load and save of the
# largest legal level and of levels with a 1, 5 and 10 MB narrative; prints
# medians of several runs.
# Usage: bench/studio.sh [BUILD_DIR] [RUNS]   (default: the optimised build)
set -euo pipefail
cd "$(dirname "$0")/.."

build=${1:-build/release}
runs=${2:-7}
if [ "$build" = build/release ]; then
    cmake --preset release >/dev/null
fi
cmake --build "$build" --target studiobench locationpictures quillmoordata >/dev/null
QT_QPA_PLATFORM=offscreen "$build/bench/studiobench" "$runs"
