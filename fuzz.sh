#!/usr/bin/env bash
# Fuzzes the level reader and writer, the language-file reader, the engine
# and its twins (a game without a console and a game resumed from a saved
# state, which must play alike), the saved-game reader and the studio's
# document with libFuzzer under AddressSanitizer and UndefinedBehaviorSanitizer.
#   ./fuzz.sh [SECONDS]          runs each target for SECONDS (60 by default)
#   ./fuzz.sh --lines [SECONDS]  then also measures the line coverage of
#                                level/ and player/ that each corpus reaches
# Installs clang and libFuzzer when missing and builds in build/fuzz. Each
# target starts from its kept corpus (fuzz/corpus/TARGET) and its regression
# inputs (fuzz/regressions/TARGET); the new inputs it finds collect in
# build/fuzz/corpus/TARGET. Each target runs one worker a core, the workers
# sharing what they find. Prints per target the executions per second and the
# executions of all workers together, and libFuzzer's coverage (cov: edges
# reached, ft: features).
# A crash, a broken property, a sanitizer report, a leak, an input slower
# than 10 s or one needing more than 2 GB fails the run; the input is left in
# build/fuzz/crashes/TARGET: add it to fuzz/regressions/TARGET (the engine's
# for its twins), where the tests replay it, and fix what it shows.
set -euo pipefail
cd "$(dirname "$0")"

lines=0
if [ "${1:-}" = --lines ]; then
    lines=1
    shift
fi
seconds=${1:-60}
root=$PWD
targets=(level language engine enginetwins savedgame document)
# The engine's twins play the engine's inputs: they share its corpus, its
# regression inputs and its dictionary.
declare -A inputs=([enginetwins]=engine)
kind() { echo "${inputs[$1]:-$1}"; }
# The kept corpus and, once something has broken the target, its regression inputs.
kept() {
    echo "$root/fuzz/corpus/$(kind "$1")"
    [ ! -d "$root/fuzz/regressions/$(kind "$1")" ] || echo "$root/fuzz/regressions/$(kind "$1")"
}
# The longest input each target is given: enough for everything its reader
# knows (a language file of 1 KB holds a whole language, or the 31 empty ones
# that are one too many; 2 KB hold a map, items, blocks and rules; a saved
# game holds a level, a language and the state), as an input costs in
# proportion to its length.
declare -A maxlen=([level]=2048 [language]=1024 [engine]=8192 [enginetwins]=8192 [savedgame]=8192 [document]=4096)

tools/ensure-deps
packages=(clang libclang-rt-14-dev llvm)
missing=()
for package in "${packages[@]}"; do
    if ! dpkg-query -W -f='${Status}' "$package" 2>/dev/null | grep -q 'install ok installed'; then
        missing+=("$package")
    fi
done
if ((${#missing[@]} > 0)); then
    sudo=()
    [ "$(id -u)" -ne 0 ] && sudo=(sudo)
    echo "Installing ${missing[*]} ..."
    "${sudo[@]}" apt-get update
    DEBIAN_FRONTEND=noninteractive "${sudo[@]}" apt-get install -y "${missing[@]}"
fi

# Comparisons are not traced: the dictionaries hold the formats' words, and
# tracing every character compared would halve the executions. The checks the
# sanitizers add make the standard library's small functions (a text's length,
# its end) look too large to inline; inlining them anyway gains a fifth more.
build=build/fuzz
cmake -S . -B "$build" -G Ninja -DCMAKE_BUILD_TYPE=RelWithDebInfo -DCMAKE_CXX_COMPILER=clang++ \
    -DQUILLMOOR_DESKTOP=OFF -DQUILLMOOR_LIBFUZZER=ON \
    -DCMAKE_CXX_FLAGS="-fsanitize=fuzzer-no-link,address,undefined -fno-sanitize-coverage=trace-cmp \
-fno-sanitize-recover=undefined -fno-omit-frame-pointer -mllvm -inline-threshold=1500 -Qunused-arguments" \
    >/dev/null
cmake --build "$build" --target "${targets[@]/#/fuzz_}"

# One worker a core: the machine's every core fuzzes each target, and a
# worker takes up what the others find from the shared corpus.
workers=$(nproc)
failed=()
report=()
for target in "${targets[@]}"; do
    corpus=$root/$build/corpus/$target
    crashes=$root/$build/crashes/$target
    logs=$root/$build/logs/$target
    rm -rf "$logs"
    mkdir -p "$corpus" "$crashes" "$logs"
    echo "Fuzzing $target for $seconds s ..."
    program=$root/$build/fuzz/fuzz_$target
    touch "$logs/start"
    # A small quarantine keeps the memory a run touches in the caches, and
    # recording no stack for each allocation saves a fifth of the time. A use
    # after free inside one input (which allocates some hundred KB) is still
    # caught, and a failure is played again below with the stacks recorded.
    # Each worker logs to fuzz-N.log in the folder it runs in.
    if ! (cd "$logs" && ASAN_OPTIONS=detect_leaks=1:quarantine_size_mb=8:malloc_context_size=0 \
        UBSAN_OPTIONS=print_stacktrace=1 "$program" "$corpus" $(kept "$target") \
        -jobs="$workers" -workers="$workers" \
        -max_total_time="$seconds" -timeout=10 -rss_limit_mb=2048 -max_len="${maxlen[$target]}" \
        -dict="$root/fuzz/$(kind "$target").dict" -artifact_prefix="$crashes/" -print_final_stats=1 >jobs.log 2>&1); then
        failed+=("$target")
        # The end of the log of each worker that failed, and each input a
        # worker left played again with ASan's full report.
        for job in $(sed -n 's/^=* Job \([0-9]*\) exited with exit code [^0].*/\1/p' "$logs/jobs.log"); do
            tail -n 20 "$logs/fuzz-$job.log"
        done
        find "$crashes" -type f -newer "$logs/start" | while read -r input; do
            echo "Played again: $input"
            ASAN_OPTIONS=detect_leaks=1 UBSAN_OPTIONS=print_stacktrace=1 \
                "$program" -timeout=10 -rss_limit_mb=2048 "$input" 2>&1 | tail -n 60 || true
        done
    fi
    # The workers' figures added up; the coverage of the one that reached most.
    sum() { sed -n "s/^stat::$1: *//p" "$logs"/fuzz-*.log | awk '{n += $1} END {print n + 0}'; }
    most() { sed -n "s/.* $1: \([0-9]*\).*/\1/p" "$logs"/fuzz-*.log | sort -n | tail -n 1; }
    report+=("$(printf '%-11s %9s %12s %7s %7s %7s' "$target" "$(sum average_exec_per_sec)" \
        "$(sum number_of_executed_units)" "$(most cov)" "$(most ft)" "$(find "$corpus" -type f | wc -l)")")
done

if ((lines)); then
    # The line coverage of the engine and the format that the inputs kept so
    # far reach, measured on the replay programs built for it.
    coverage=build/fuzz-lines
    cmake -S . -B "$coverage" -G Ninja -DCMAKE_BUILD_TYPE=Debug -DCMAKE_CXX_COMPILER=clang++ \
        -DQUILLMOOR_DESKTOP=OFF -DCMAKE_CXX_FLAGS="-fprofile-instr-generate -fcoverage-mapping" >/dev/null
    cmake --build "$coverage" --target "${targets[@]/#/fuzz_}"
    for i in "${!targets[@]}"; do
        target=${targets[$i]}
        rm -f "$coverage"/"$target"-*.profraw
        LLVM_PROFILE_FILE="$coverage/$target-%p.profraw" "$coverage/fuzz/fuzz_$target" \
            "$build/corpus/$target" $(kept "$target") >/dev/null 2>&1
        llvm-profdata merge -o "$coverage/$target.profdata" "$coverage"/"$target"-*.profraw
        total=$(llvm-cov report "$coverage/fuzz/fuzz_$target" -instr-profile="$coverage/$target.profdata" \
            level player | grep '^TOTAL')
        report[$i]+=$(awk '{printf "   lines %s of %s", $(NF-3), $(NF-5)}' <<<"$total")
    done
fi

echo
covered=
((lines)) && covered='   line coverage of level/ and player/'
printf '%-11s %9s %12s %7s %7s %7s%s\n' target exec/s executions cov ft corpus "$covered"
printf '%s\n' "${report[@]}"
if ((${#failed[@]} > 0)); then
    echo "Failed: ${failed[*]} (inputs in $build/crashes/)"
    exit 1
fi
