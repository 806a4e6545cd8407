#!/usr/bin/env bash
# Speed of the command-line analyser on 24-megapixel JPEG scans.
#
#   bench/batch_speed.sh [BUILD_DIR]        (default: build)
#
# 1. One 6000 x 4000 JPEG (quality 90, about half leaf, with lesions), unit
#    step 1.0, System 2: djpeg decoding it to /dev/null and verdalis-batch
#    analysing it, side by side, best of RUNS runs each; prints both times and
#    the ratio.
# 2. 100 such pictures (links to four generated ones) with --jobs 2: pictures
#    per second.
# Needs djpeg (package libjpeg-turbo-progs).
set -euo pipefail
cd "$(dirname "$0")/.."

BUILD_DIR=${1:-build}
BIN=$BUILD_DIR/bin
RUNS=${RUNS:-7}
for program in "$BIN/verdalis-batch" "$BIN/verdalis-samples"; do
    [ -x "$program" ] || { echo "missing $program: build the project first" >&2; exit 1; }
done
command -v djpeg > /dev/null || { echo "djpeg not found (package libjpeg-turbo-progs)" >&2; exit 1; }

work=$(mktemp -d)
trap 'rm -rf "$work"' EXIT
for seed in 1 2 3 4; do
    "$BIN/verdalis-samples" --picture 6000x4000 --seed "$seed" "$work/leaves$seed.jpg"
done
picture=$work/leaves1.jpg
analyse=("$BIN/verdalis-batch" --system "System 2" --size-ratio 0.32 --unit mm)

now() { date +%s%N; }
best_djpeg=
best_batch=
for _ in $(seq "$RUNS"); do
    start=$(now); djpeg -outfile /dev/null "$picture"; middle=$(now)
    "${analyse[@]}" "$picture" > "$work/one.txt"; end=$(now)
    djpeg_ns=$((middle - start)); batch_ns=$((end - middle))
    if [ -z "$best_djpeg" ] || [ "$djpeg_ns" -lt "$best_djpeg" ]; then best_djpeg=$djpeg_ns; fi
    if [ -z "$best_batch" ] || [ "$batch_ns" -lt "$best_batch" ]; then best_batch=$batch_ns; fi
done

# At 300 dpi the picture is 508 x 338.67 mm.
leaf_share=$(awk -F'\t' 'NR == 2 { printf "%.0f", $2 / (508 * 338.6667) * 100 }' "$work/one.txt")
echo "One 6000 x 4000 JPEG ($(($(stat -c %s "$picture") / 1024)) KiB, ${leaf_share}% leaf), best of $RUNS:"
awk -v d="$best_djpeg" -v b="$best_batch" 'BEGIN {
    printf "  djpeg -outfile /dev/null        %7.1f ms\n", d / 1e6
    printf "  verdalis-batch --system \"System 2\" %4.1f ms\n", b / 1e6
    printf "  ratio                           %7.2f\n", b / d
}'

mkdir "$work/set"
for i in $(seq 0 99); do
    ln -s "../leaves$((i % 4 + 1)).jpg" "$work/set/picture$(printf %03d "$i").jpg"
done
start=$(now)
"${analyse[@]}" --jobs 2 "$work"/set/*.jpg > "$work/set.txt"
end=$(now)
rows=$(($(wc -l < "$work/set.txt") - 1))
[ "$rows" -eq 100 ] || { echo "expected 100 rows, got $rows" >&2; exit 1; }
awk -v n="$rows" -v t="$((end - start))" 'BEGIN {
    printf "100 such pictures, --jobs 2:       %7.2f s, %.1f pictures per second\n", t / 1e9, n / (t / 1e9)
}'
