#!/usr/bin/env bash
# Installs what is missing, builds the optimised programs and prints the
# benchmark figures (medians of several runs) of the player and the studio.
#   ./bench.sh [RUNS]
set -euo pipefail
cd "$(dirname "$0")"
runs=${1:-7}
tools/ensure-deps
tools/build release
echo "== quillmoorplayer, terminal mode"
bench/player.sh build/release/bin "$runs"
build/release/bench/enginebench build/release/bin tests/data/walkthrough.in "$runs"
build/release/bench/hintbench build/release/bin tests/data/walkthrough.in "$runs"
echo
echo "== saved games"
build/release/bench/savebench build/release/bin tests/data/walkthrough.in build/release/bench/work "$runs"
echo
echo "== studio"
bench/studio.sh build/release "$runs"
echo
echo "== the published web page, in headless chromium"
node bench/webpage.mjs build/release/bin "$runs"
echo
echo "== quillmoorcheck"
bench/check.sh build/release "$runs"
