#!/usr/bin/env bash
# ./run.sh        installs what is missing, builds (Release) and starts Verdalis
# ./run.sh test   installs what is missing, builds and runs the whole test suite
# Safe to run again: installing and configuring are skipped when done, and the
# build only recompiles what changed.
set -euo pipefail
cd "$(dirname "$0")"

PACKAGES=(cmake make g++ pkg-config
          qt6-base-dev qt6-charts-dev libqt6opengl6-dev libgl1-mesa-dev libqt6svg6
          qt6-image-formats-plugins fonts-liberation
          libjpeg62-turbo-dev libjpeg-turbo-progs libgtest-dev libbenchmark-dev)
BUILD_DIR=build

install_missing_packages() {
    local missing=()
    for package in "${PACKAGES[@]}"; do
        dpkg-query -W -f='${Status}' "$package" 2>/dev/null | grep -q "install ok installed" \
            || missing+=("$package")
    done
    [ ${#missing[@]} -eq 0 ] && return
    echo "Installing: ${missing[*]}"
    local sudo=""
    [ "$(id -u)" -ne 0 ] && sudo="sudo"
    $sudo apt-get update -qq
    DEBIAN_FRONTEND=noninteractive $sudo apt-get install -y -qq --no-install-recommends "${missing[@]}"
}

build() {
    if [ ! -f "$BUILD_DIR/CMakeCache.txt" ]; then
        cmake -S . -B "$BUILD_DIR" -DCMAKE_BUILD_TYPE=Release
    fi
    cmake --build "$BUILD_DIR" -j"$(nproc)"
}

install_missing_packages
build

case "${1:-run}" in
    test)
        ctest --test-dir "$BUILD_DIR" --output-on-failure -j"$(nproc)"
        ;;
    run)
        if [ -z "${DISPLAY:-}${WAYLAND_DISPLAY:-}" ] && [ -z "${QT_QPA_PLATFORM:-}" ]; then
            echo "Verdalis needs a display: start it from a desktop session, or without one run: xvfb-run ./run.sh" >&2
            exit 1
        fi
        exec "$BUILD_DIR/bin/verdalis"
        ;;
    *)
        echo "usage: ./run.sh [run|test]" >&2
        exit 2
        ;;
esac
