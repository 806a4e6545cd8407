#!/usr/bin/env bash
# Speed of the window on one large picture against the command-line analyser.
#
#   bench/window_speed.sh [BUILD_DIR [PICTURE...]]        (default: build)
#
# A 6000 x 4000 (24-megapixel) JPEG from verdalis-samples, and each PICTURE
# given (a photograph with many lesions makes the most dots), is opened and
# analysed by the main window, offscreen (verdalis_bench_window_speed), at unit
# steps 1.0 and 0.1 under "Leaf area only", "System 2" and "System 4", and
# analysed by verdalis-batch --jobs 1 with and without --overlay. Best of RUNS
# runs of each (a shared machine's load only ever slows a run down). Seconds:
#   open        click on the open button to the picture shown (wall)
#   run         click on Analyze to the report shown: wall, processor
#   late, busy  the longest time the GUI thread was held while opening and
#               during the run: how late a 1 ms timer fired at worst, and the
#               most processor time the GUI thread spent between two firings
#               (on a loaded machine "late" also counts waiting for a processor)
#   batch       verdalis-batch, the whole process: wall / processor
#   ratio       window run processor / verdalis-batch processor (no overlay)
# The window and verdalis-batch must report the same leaf area, which is checked.
set -euo pipefail
cd "$(dirname "$0")/.."

BUILD_DIR=${1:-build}
shift || true
extra=()
for picture in "$@"; do extra+=("$(realpath "$picture")"); done
BIN=$BUILD_DIR/bin
RUNS=${RUNS:-3}
for program in verdalis-batch verdalis-samples verdalis_bench_window_speed; do
    [ -x "$BIN/$program" ] || { echo "missing $BIN/$program: build the project first" >&2; exit 1; }
done

work=$(mktemp -d)
trap 'rm -rf "$work"' EXIT
export QT_QPA_PLATFORM=offscreen LC_ALL=C.UTF-8
sample=$work/leaves24.jpg
"$BIN/verdalis-samples" --picture 6000x4000 --seed 1 "$sample"
calibration=(--size-ratio 0.32 --unit mm)

best() { sort -g | head -1; }

# Runs verdalis-batch; prints "wall processor" in seconds.
batch() {
    /usr/bin/time -f '%e %U %S' -o "$work/time" "$BIN/verdalis-batch" --jobs 1 "$@" \
        > "$work/batch.txt" 2> "$work/err" || { cat "$work/err" >&2; exit 1; }
    awk '{ printf "%.3f %.3f\n", $1, $2 + $3 }' "$work/time"
}

for picture in "$sample" "${extra[@]}"; do
    echo "$(basename "$picture"):"
    printf '%-15s %4s | %6s %6s %6s | %6s %6s %6s %6s | %6s %6s | %7s %6s | %5s\n' \
        system step open late busy run cpu late busy batch cpu overlay cpu ratio
    for step in 1.0 0.1; do
        for system in "Leaf area only" "System 2" "System 4"; do
            settings=(--system "$system" --unit-step "$step" "${calibration[@]}")
            open=() openLate=() openBusy=() run=() runCpu=() runLate=() runBusy=()
            plain=() plainCpu=() overlay=() overlayCpu=()
            for _ in $(seq "$RUNS"); do
                read -r _ o _ ol ob _ r rc rl rb _ leaf < <("$BIN/verdalis_bench_window_speed" \
                    "${settings[@]}" "$picture" 2> "$work/err" || { cat "$work/err" >&2; exit 1; })
                open+=("$o"); openLate+=("$ol"); openBusy+=("$ob")
                run+=("$r"); runCpu+=("$rc"); runLate+=("$rl"); runBusy+=("$rb")
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
            awk -v s="$system" -v st="$step" -v o="$(b "${open[@]}")" \
                -v ol="$(b "${openLate[@]}")" -v ob="$(b "${openBusy[@]}")" \
                -v r="$(b "${run[@]}")" -v rc="$(b "${runCpu[@]}")" \
                -v rl="$(b "${runLate[@]}")" -v rb="$(b "${runBusy[@]}")" \
                -v p="$(b "${plain[@]}")" -v pc="$(b "${plainCpu[@]}")" \
                -v ov="$(b "${overlay[@]}")" -v oc="$(b "${overlayCpu[@]}")" 'BEGIN {
                printf "%-15s %4s | %6.3f %6.3f %6.3f | %6.3f %6.3f %6.3f %6.3f | %6.3f %6.3f | %7.3f %6.3f | %5.2f\n",
                    s, st, o, ol, ob, r, rc, rl, rb, p, pc, ov, oc, rc / pc
            }'
        done
    done
done
echo "best of $RUNS runs; load average: $(cut -d' ' -f1-3 /proc/loadavg)"
