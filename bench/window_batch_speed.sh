#!/usr/bin/env bash
# Speed of the window's batch run against the command-line analyser.
#
#   bench/window_batch_speed.sh [BUILD_DIR]        (default: build)
#
# Two sets, each analysed under "System 2" with the sample calibration
# (0.32 mm per display mm): the four sample pictures of <build>/samples, and
# 20 copies of a 6000 x 4000 (24-megapixel) JPEG scaled up from
# leaves-on-white.jpg with ImageMagick's convert, made in a temporary folder.
# For each set, best of RUNS runs (alternating):
#   - verdalis-batch --jobs 1 over the set: the whole process;
#   - the main window, offscreen, through its picture-set window
#     (verdalis_bench_window_batch): the batch run alone, and the whole process.
# Wall time and processor time (user + system, every thread) are given, since
# a shared machine's load moves wall times; the ratios are window / command
# line. Both must write the same table, which is checked.
set -euo pipefail
cd "$(dirname "$0")/.."

BUILD_DIR=${1:-build}
BIN=$BUILD_DIR/bin
RUNS=${RUNS:-5}
for program in "$BIN/verdalis-batch" "$BIN/verdalis_bench_window_batch"; do
    [ -x "$program" ] || { echo "missing $program: build the project first" >&2; exit 1; }
done
for sample in leaves-on-white.jpg leaves-on-white.bmp leaves-on-black.jpg leaves-on-black.bmp; do
    [ -f "$BUILD_DIR/samples/$sample" ] || { echo "missing $BUILD_DIR/samples/$sample" >&2; exit 1; }
done
command -v convert > /dev/null || { echo "convert not found (package imagemagick)" >&2; exit 1; }

work=$(mktemp -d)
trap 'rm -rf "$work"' EXIT
export QT_QPA_PLATFORM=offscreen LC_ALL=C.UTF-8
settings=(--system "System 2" --size-ratio 0.32 --unit mm)

mkdir "$work/large"
convert "$BUILD_DIR/samples/leaves-on-white.jpg" -resize '6000x4000!' -quality 90 "$work/large.jpg"
for i in $(seq -w 1 20); do cp "$work/large.jpg" "$work/large/leaves$i.jpg"; done
samples=("$BUILD_DIR"/samples/leaves-on-{white,black}.{jpg,bmp})
large=("$work"/large/leaves*.jpg)

# Runs a command; prints "wall processor" in seconds.
timed() {
    /usr/bin/time -f '%e %U %S' -o "$work/time" "$@" > "$work/out" 2> "$work/err" \
        || { cat "$work/err" >&2; exit 1; }
    awk '{ printf "%.3f %.3f\n", $1, $2 + $3 }' "$work/time"
}

best() { sort -g | head -1; }

measure() {
    local name=$1
    shift
    local cli_wall=() cli_cpu=() win_wall=() win_cpu=() run_wall=() run_cpu=()
    for _ in $(seq "$RUNS"); do
        read -r wall cpu < <(timed "$BIN/verdalis-batch" --jobs 1 "${settings[@]}" "$@")
        cli_wall+=("$wall"); cli_cpu+=("$cpu")
        cp "$work/out" "$work/cli.txt"
        read -r wall cpu < <(timed "$BIN/verdalis_bench_window_batch" "${settings[@]}" "$@")
        win_wall+=("$wall"); win_cpu+=("$cpu")
        cmp -s "$work/out" "$work/cli.txt" \
            || { echo "the window's table differs from verdalis-batch's" >&2; exit 1; }
        read -r wall cpu < <(sed -n 's/^window batch: .* \([0-9.]*\) s wall, \([0-9.]*\) s processor$/\1 \2/p' "$work/err")
        run_wall+=("$wall"); run_cpu+=("$cpu")
    done
    local cw cc ww wc rw rc
    cw=$(printf '%s\n' "${cli_wall[@]}" | best); cc=$(printf '%s\n' "${cli_cpu[@]}" | best)
    ww=$(printf '%s\n' "${win_wall[@]}" | best); wc=$(printf '%s\n' "${win_cpu[@]}" | best)
    rw=$(printf '%s\n' "${run_wall[@]}" | best); rc=$(printf '%s\n' "${run_cpu[@]}" | best)
    awk -v n="$name" -v cw="$cw" -v cc="$cc" -v ww="$ww" -v wc="$wc" -v rw="$rw" -v rc="$rc" 'BEGIN {
        printf "%s, best of '"$RUNS"' (seconds: wall / processor)\n", n
        printf "  verdalis-batch --jobs 1 (process)   %7.3f / %7.3f\n", cw, cc
        printf "  window batch run                    %7.3f / %7.3f   ratio %.2f / %.2f\n", rw, rc, rw / cw, rc / cc
        printf "  window (whole process)              %7.3f / %7.3f   ratio %.2f / %.2f\n", ww, wc, ww / cw, wc / cc
    }'
}

measure "4 sample pictures (1800 x 1200, 2 JPEG + 2 BMP)" "${samples[@]}"
measure "20 copies of a 24-megapixel JPEG (6000 x 4000)" "${large[@]}"
echo "load average: $(cut -d' ' -f1-3 /proc/loadavg)"
