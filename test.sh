#!/usr/bin/env bash
# Installs what is missing, builds, and runs every test.
set -euo pipefail
cd "$(dirname "$0")"
scripts/install-deps.sh base
BUILD_DIR=${BUILD_DIR:-build}
mkdir -p "$BUILD_DIR"
# GIMP and Inkscape are large and only their plug-ins need them: they
# install while the rest builds, and a second configure then finds GIMP.
hosts_log="$BUILD_DIR/install-hosts.log"
scripts/install-deps.sh gimp inkscape > "$hosts_log" 2>&1 &
hosts_install=$!
if [ ! -f "$BUILD_DIR/build.ninja" ]; then
    cmake -S . -B "$BUILD_DIR" -G Ninja -DCMAKE_BUILD_TYPE=RelWithDebInfo
fi
cmake --build "$BUILD_DIR" -j "$(nproc)"
if ! wait "$hosts_install"; then
    cat "$hosts_log" >&2
    exit 1
fi
cmake "$BUILD_DIR" > /dev/null
cmake --build "$BUILD_DIR" -j "$(nproc)"
cd "$BUILD_DIR"
QT_QPA_PLATFORM=offscreen ctest --output-on-failure -j "$(nproc)"
