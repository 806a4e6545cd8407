#!/usr/bin/env bash
# Speed of the window on one large picture against the command-line analyser.
#
#   bench/window_speed.sh [BUILD_DIR]        (default: build)
#
# A 6000 x 4000 (24-megapixel) JPEG from verdalis-samples is opened and
# analysed by the main window, offscreen (verdalis_bench_window_speed), at unit
# steps 1.0 and 0.1 under "Leaf area only", "System 2" and "System 4", and
# analysed by verdalis-batch --jobs 1 with and without --overlay. Best of RUNS
# runs of each (a shared machine's load only ever slows a run down). Seconds:
#   open        click on the open button to the picture shown (wall)
#   open block  the longest time the GUI thread was held while opening
#   run         click on Analyze to the report shown: wall / processor
#   run block   the longest time the GUI thread was held during the run
#   batch       verdalis-batch, the whole process: wall / processor
#   ratio       window run processor / verdalis-batch processor (no overlay)
# The window and verdalis-batch must report the same leaf area, which is checked.
set -euo pipefail
cd "$(dirname "$0")/.."

BUILD_DIR=${1:-build}
BIN=$BUILD_DIR/bin
RUNS=${RUNS:-3}
for program in verdalis-batch verdalis-samples verdalis_bench_window_speed; do
    [ -x "$BIN/$program" ] || { echo "missing $BIN/$program: build the project first" >&2; exit 1; }
done

work=$(mktemp -d)
trap 'rm -rf "$work"' EXIT
export QT_QPA_PLATFORM=offscreen LC_ALL=C.UTF-8
picture=$work/leaves24.jpg
"$BIN/verdalis-samples" --picture 6000x4000 --seed 1 "$picture"
calibration=(--size-ratio 0.32 --unit mm)

best() { sort -g | head -1; }

# Runs verdalis-batch; prints "wall processor" in seconds.
batch() {
    /usr/bin/time -f '%e %U %S' -o "$work/time" "$BIN/verdalis-batch" --jobs 1 "$@" \
        > "$work/batch.txt" 2> "$work/err" || { cat "$work/err" >&2; exit 1; }
    awk '{ printf "%.3f %.3f\n", $1, $2 + $3 }' "$work/time"
}

printf '%-15s %4s | %6s %6s | %6s %6s %6s | %6s %6s | %6s %6s | %5s\n' \
    system step open block run cpu block batch cpu overlay cpu ratio
for step in 1.0 0.1; do
    for system in "Leaf area only" "System 2" "System 4"; do
        settings=(--system "$system" --unit-step "$step" "${calibration[@]}")
        open=() openBlock=() run=() runCpu=() runBlock=()
        plain=() plainCpu=() overlay=() overlayCpu=()
        for _ in $(seq "$RUNS"); do
            read -r _ o oc ob _ r rc rb _ leaf < <("$BIN/verdalis_bench_window_speed" \
                "${settings[@]}" "$picture" 2> "$work/err" || { cat "$work/err" >&2; exit 1; })
            open+=("$o"); openBlock+=("$ob"); run+=("$r"); runCpu+=("$rc"); runBlock+=("$rb")
            read -r w c < <(batch "${settings[@]}" "$picture")
            plain+=("$w"); plainCpu+=("$c")
            # The leaf area in the table is rounded; the window's is checked against it.
            cliLeaf=$(sed -n '2p' "$work/batch.txt" | cut -f2)
            awk -v a="$leaf" -v b="$cliLeaf" 'BEGIN { d = a - b; exit !(d < 0.0006 && d > -0.0006) }' \
                || { echo "leaf area: window $leaf, verdalis-batch $cliLeaf" >&2; exit 1; }
            rm -rf "$work/overlays"
            read -r w c < <(batch "${settings[@]}" --overlay "$work/overlays" "$picture")
            overlay+=("$w"); overlayCpu+=("$c")
        done
        b() { printf '%s\n' "$@" | best; }
        awk -v s="$system" -v st="$step" -v o="$(b "${open[@]}")" -v ob="$(b "${openBlock[@]}")" \
            -v r="$(b "${run[@]}")" -v rc="$(b "${runCpu[@]}")" -v rb="$(b "${runBlock[@]}")" \
            -v p="$(b "${plain[@]}")" -v pc="$(b "${plainCpu[@]}")" \
            -v ov="$(b "${overlay[@]}")" -v oc="$(b "${overlayCpu[@]}")" 'BEGIN {
            printf "%-15s %4s | %6.3f %6.3f | %6.3f %6.3f %6.3f | %6.3f %6.3f | %6.3f %6.3f | %5.2f\n",
                s, st, o, ob, r, rc, rb, p, pc, ov, oc, rc / pc
        }'
    done
done
echo "best of $RUNS runs; load average: $(cut -d' ' -f1-3 /proc/loadavg)"
