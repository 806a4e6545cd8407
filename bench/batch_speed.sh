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
# 3. Scaling with cores: SCALE_PICTURES such pictures (default 24) with
#    --jobs 1 and --jobs N (N = the cores this process may use, as nproc and
#    verdalis-batch count them), next to one djpeg process decoding them all and
#    N djpeg processes side by side sharing them; best of RUNS runs each, with
#    the wall time, the CPU time (user + system) and the speed-up of N over 1.
#    The load average before and after tells how busy the machine was.
# Needs djpeg (package libjpeg-turbo-progs).
set -euo pipefail
cd "$(dirname "$0")/.."

BUILD_DIR=${1:-build}
BIN=$BUILD_DIR/bin
RUNS=${RUNS:-7}
SCALE_PICTURES=${SCALE_PICTURES:-24}
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

# 3. Scaling with cores.
cores=$(nproc)
mkdir "$work/scale"
for i in $(seq 0 $((SCALE_PICTURES - 1))); do
    ln -s "../leaves$((i % 4 + 1)).jpg" "$work/scale/picture$(printf %03d "$i").jpg"
done
scale=("$work"/scale/*.jpg)
# djpeg_share FIRST STEP PICTURE...: decodes every STEP-th picture from FIRST on.
djpeg_share() {
    local first=$1 step=$2
    shift 2
    local files=("$@")
    for ((i = first; i < ${#files[@]}; i += step)); do
        djpeg -outfile /dev/null "${files[i]}"
    done
}
# djpeg_side_by_side N PICTURE...: N djpeg processes at a time, each its share.
djpeg_side_by_side() {
    local processes=$1
    shift
    for ((p = 0; p < processes; ++p)); do
        djpeg_share "$p" "$processes" "$@" &
    done
    wait
}
# timed COMMAND...: "wall user system" in seconds, the command's output dropped.
timed() {
    local TIMEFORMAT='%R %U %S'
    { time "$@" > /dev/null 2>&1; } 2>&1
}
# Keeps, per kind of run, the fastest of the runs and its CPU time.
declare -A best_wall best_cpu
keep() {
    local kind=$1 wall=$2 user=$3 system=$4
    if [ -z "${best_wall[$kind]:-}" ] || awk -v a="$wall" -v b="${best_wall[$kind]}" 'BEGIN { exit !(a < b) }'; then
        best_wall[$kind]=$wall
        best_cpu[$kind]=$(awk -v u="$user" -v s="$system" 'BEGIN { printf "%.2f", u + s }')
    fi
}
load_before=$(cut -d' ' -f1-3 /proc/loadavg)
for _ in $(seq "$RUNS"); do
    keep djpeg1 $(timed djpeg_side_by_side 1 "${scale[@]}")
    keep djpegN $(timed djpeg_side_by_side "$cores" "${scale[@]}")
    keep batch1 $(timed "${analyse[@]}" --jobs 1 "${scale[@]}")
    keep batchN $(timed "${analyse[@]}" --jobs "$cores" "${scale[@]}")
done
"${analyse[@]}" --jobs "$cores" "${scale[@]}" > "$work/scaleN.txt"
"${analyse[@]}" --jobs 1 "${scale[@]}" | cmp -s - "$work/scaleN.txt" \
    || { echo "--jobs $cores and --jobs 1 gave different rows" >&2; exit 1; }
echo "Scaling over $SCALE_PICTURES such pictures on $cores usable cores, best of $RUNS (load average" \
    "$load_before before, $(cut -d' ' -f1-3 /proc/loadavg) after):"
printf '  %-28s %18s %18s %9s\n' "" "one at a time" "$cores side by side" "speed-up"
for kind in djpeg batch; do
    if [ "$kind" = djpeg ]; then label="djpeg processes"; else label="verdalis-batch --jobs"; fi
    awk -v label="$label" -v w1="${best_wall[${kind}1]}" -v c1="${best_cpu[${kind}1]}" \
        -v wn="${best_wall[${kind}N]}" -v cn="${best_cpu[${kind}N]}" 'BEGIN {
        printf "  %-28s %6.2f s (CPU %5.2f) %6.2f s (CPU %5.2f) %9.2f\n", label, w1, c1, wn, cn, w1 / wn
    }'
done
awk -v b="${best_wall[batchN]}" -v d="${best_wall[djpegN]}" 'BEGIN {
    printf "  side by side, verdalis-batch takes %.2f times as long as djpeg\n", b / d
}'
