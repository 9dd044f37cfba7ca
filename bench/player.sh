#!/usr/bin/env bash
# SPDX-License-Identifier: MIT
# Times the player in terminal mode and prints medians of several runs:
#   1. from start to the first prompt, on the bundled QUILLMOOR.qw when the
#      bin folder holds it (else on a generated level);
#   2. a session of 10,000 piped commands on a generated 9 by 9 level.
# Usage: bench/player.sh BUILD_BIN_DIR [RUNS]   (an optimised build is best)
set -euo pipefail

bin=${1:?usage: bench/player.sh BUILD_BIN_DIR [RUNS]}
runs=${2:-7}
player=$bin/quillmoorplayer
[ -x "$player" ] || { echo "no quillmoorplayer in $bin" >&2; exit 1; }

work=$(mktemp -d)
trap 'rm -rf "$work"' EXIT

# A language whose words the generated commands use.
{
    echo "[English]"
    printf '%s\n' "I do not understand|Try HELP." "You have won!|End the game?" "There is no|here." \
        "Take what?" "You take the" "You drop the|here." "You do not carry|." "Drop what?" \
        "You combine the|with the|and make" "You cannot combine|: same item.|: name two things you carry." \
        "You cannot go that way." "There is an exit" "You see" "Then carry on." \
        "N|north|NORTH" "S|south|SOUTH" "E|east|EAST" "W|west|WEST" "DROP |PUT " "TAKE |GET " "WITH/AND" \
        "COMBINE |USE " "HELP|?" "I|INVENTORY" "Q|QUIT" "You carry:" "Do you really want to quit?"
} | sed 's/$/\r/' > "$work/Language.txt"

# Every location in use, open to each neighbour; items A to Z spread over
# the first row; rules that join neighbouring letters.
{
    printf '[ITEMS]\n'
    for letter in {A..Z}; do printf '%s thing-%s\n' "$letter" "$letter"; done
    printf '\n'
    columns=(A B C D E F G H I)
    item=0
    letters=({A..Z})
    for row in 1 2 3 4 5 6 7 8 9; do
        for col in 0 1 2 3 4 5 6 7 8; do
            printf '[LOCATION %s%s]\nRoom %s%s, one of many.~A second line.\n' "$row" "${columns[col]}" "$row" "${columns[col]}"
            ((row > 1)) && printf 'PATH N\n'
            ((row < 9)) && printf 'PATH S\n'
            ((col < 8)) && printf 'PATH E\n'
            ((col > 0)) && printf 'PATH W\n'
            if ((item < 26)); then printf 'ITEM %s\n' "${letters[item]}"; item=$((item + 1)); fi
            ((row == 1 && col == 0)) && printf 'START\n'
            printf '\n'
        done
    done
    printf '[COMBOS]\n'
    for i in $(seq 0 2 24); do printf '%s+%s=%s\n' "${letters[i]}" "${letters[i + 1]}" "${letters[i]}"; done
    printf '\n'
} | sed 's/$/\r/' > "$work/level.qw"

# 10,000 commands: walking the first row and back, taking, dropping,
# combining, the inventory, help and words the game does not know.
{
    n=0
    while ((n < 10000)); do
        for command in "take thing-A" "e" "take thing-B" "combine thing-a thing-b" "i" "w" "drop thing-A" \
            "e" "e" "w" "w" "s" "n" "?" "look around" "take nothing" "drop thing-Z" "inventory" "e" "w"; do
            echo "$command"
            n=$((n + 1))
            ((n < 10000)) || break
        done
    done
} > "$work/commands.txt"

start_level=$work/level.qw
start_language=$work/Language.txt
if [ -f "$bin/QUILLMOOR.qw" ] && [ -f "$bin/Language.txt" ]; then
    start_level=$bin/QUILLMOOR.qw
    start_language=$bin/Language.txt
fi

now() { date +%s%N; }
median() { sort -n | awk '{ v[NR] = $1 } END { print (NR % 2) ? v[(NR + 1) / 2] : (v[NR / 2] + v[NR / 2 + 1]) / 2 }'; }

# End of input at the first prompt ends the program: the run is start-up alone.
startup=()
for ((i = 0; i < runs; i++)); do
    t0=$(now)
    "$player" --tty --language "$start_language" "$start_level" < /dev/null > /dev/null
    t1=$(now)
    startup+=($(((t1 - t0) / 1000)))
done

session=()
for ((i = 0; i < runs; i++)); do
    t0=$(now)
    "$player" --tty --language "$work/Language.txt" "$work/level.qw" < "$work/commands.txt" > "$work/out.txt"
    t1=$(now)
    session+=($(((t1 - t0) / 1000)))
done
lines=$(wc -l < "$work/out.txt")

# Levels with one long narrative: loading it and describing the location in
# the terminal, which grows with the narrative's size.
declare -A narrative
for mb in 2 4 8; do
    python3 -c "
import sys
n = $mb * 1000 * 1000
line = ('The mist lies on the moor like wet wool, so thick that the way vanishes. ' * (n // 74 + 1))[:n]
sys.stdout.buffer.write(b'[ITEMS]\r\nA lamp\r\n\r\n[LOCATION 1A]\r\n' + line.encode() + b'\r\nPATH E\r\nITEM A\r\nSTART\r\n\r\n[COMBOS]\r\n\r\n')
" > "$work/big$mb.qw"
    times=()
    for ((i = 0; i < runs; i++)); do
        t0=$(now)
        "$player" --tty --language "$work/Language.txt" "$work/big$mb.qw" < /dev/null > /dev/null
        t1=$(now)
        times+=($(((t1 - t0) / 1000)))
    done
    narrative[$mb]=$(printf '%s\n' "${times[@]}" | median)
done

startup_us=$(printf '%s\n' "${startup[@]}" | median)
session_us=$(printf '%s\n' "${session[@]}" | median)
awk -v level="$(basename "$start_level")" -v us="$startup_us" -v runs="$runs" \
    'BEGIN { printf "Start to first prompt (%s): median %.1f ms over %d runs\n", level, us / 1000, runs }'
for mb in 2 4 8; do
    awk -v mb="$mb" -v us="${narrative[$mb]}" -v runs="$runs" \
        'BEGIN { printf "A %d MB narrative, loaded and described: median %.1f ms over %d runs\n", mb, us / 1000, runs }'
done
awk -v lines="$lines" -v us="$session_us" -v runs="$runs" \
    'BEGIN { printf "10,000 piped commands (%d lines out): median %.1f ms over %d runs, %.1f us per command\n",
             lines, us / 1000, runs, us / 10000 }'
