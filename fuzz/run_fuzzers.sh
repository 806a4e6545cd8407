#!/usr/bin/env bash
# fuzz/run_fuzzers.sh [BUILD_DIR] [SECONDS] [TARGET...]
# Runs each fuzz target of BUILD_DIR (default build-fuzz, configured with
# -DVERDALIS_FUZZ=ON and built) for SECONDS (default 60) on a corpus kept in
# BUILD_DIR/fuzz-corpus/TARGET, seeded with a few valid files, and prints how
# many inputs each ran. Any crash, sanitizer finding or broken property stops
# the script with libFuzzer's report and the input that caused it.
# CI runs it for a few seconds each; run it for hours to search deeper.
set -euo pipefail
cd "$(dirname "$0")/.."
BUILD_DIR=${1:-build-fuzz}
SECONDS_EACH=${2:-60}
shift $(( $# > 2 ? 2 : $# ))
TARGETS=("$@")
[ ${#TARGETS[@]} -eq 0 ] && TARGETS=(fuzz_calibration_file fuzz_custom_detection_file
                                     fuzz_picture_set_file fuzz_jpeg_decoder fuzz_bmp_reader)
CORPORA="$BUILD_DIR/fuzz-corpus"

seed() {
    local dir="$CORPORA/$1"
    mkdir -p "$dir"
    [ -n "$(ls -A "$dir")" ] && return
    case "$1" in
    fuzz_calibration_file)
        printf '"0.254"\r\n"mm"\r\n"1:1"\r\n"A"\r\n"300"\r\n""\r\n' > "$dir/plain"
        printf '"0,32"\r\n"cm"\r\n""\r\n"%%CLB1%%scanner %%22B%%22"\r\n"600"\r\n"%%CLB1%%a%%0Ab"\r\n' \
            > "$dir/escaped"
        ;;
    fuzz_custom_detection_file)
        printf '3\r\n"Spot","120","45","30"\r\n"Rust","200","100","0"\r\n"B","9","6","2"\r\n' \
            > "$dir/three"
        printf '1\n"Spot"\n"1"\n"2"\n"3"\n' > "$dir/lines"
        ;;
    fuzz_picture_set_file)
        printf 'Line 7\t../leaf.jpg\r\n\nplot 3\t/scans/b.bmp\n' > "$dir/set"
        ;;
    fuzz_jpeg_decoder)
        # Small pictures of several kinds, without the JPEG start the target adds.
        local ppm="$dir/picture.ppm"
        { printf 'P6\n16 12\n255\n'; head -c 576 /dev/urandom; } > "$ppm"
        local options
        for options in "" "-grayscale" "-progressive" "-arithmetic" "-sample 1x1" "-restart 1"; do
            # shellcheck disable=SC2086
            cjpeg $options "$ppm" | tail -c +4 > "$dir/seed${options// /}"
        done
        rm "$ppm"
        ;;
    fuzz_bmp_reader)
        # A 2 x 2 24-bit BMP without its "BM", which the target adds.
        printf '\x46\x00\x00\x00\x00\x00\x00\x00\x36\x00\x00\x00\x28\x00\x00\x00\x02\x00\x00\x00' \
            > "$dir/two-by-two"
        printf '\x02\x00\x00\x00\x01\x00\x18\x00\x00\x00\x00\x00\x10\x00\x00\x00\x13\x0b\x00\x00' \
            >> "$dir/two-by-two"
        printf '\x13\x0b\x00\x00\x00\x00\x00\x00\x00\x00\x00\x00' >> "$dir/two-by-two"
        printf '\x00\x00\xff\xff\xff\xff\x00\x00\xff\x00\x00\x00\x00\xff\x00\x00' >> "$dir/two-by-two"
        ;;
    esac
}

for target in "${TARGETS[@]}"; do
    seed "$target"
    log="$BUILD_DIR/fuzz/$target.log"
    if ! "$BUILD_DIR/fuzz/$target" "$CORPORA/$target" -max_total_time="$SECONDS_EACH" \
        -timeout=10 -rss_limit_mb=2048 -print_final_stats=1 > "$log" 2>&1; then
        tail -n 60 "$log"
        echo "$target: FAILED (log: $log)" >&2
        exit 1
    fi
    runs=$(sed -n 's/^stat::number_of_executed_units: *//p' "$log")
    echo "$target: ${runs:-?} inputs in ${SECONDS_EACH} s, no finding"
done
echo "fuzz: ${#TARGETS[@]} passed, 0 failed"
