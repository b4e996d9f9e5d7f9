#!/usr/bin/env bash
# Builds Huelink in Release, prepares the program-data folder with the demo
# collections and asks the stand-in host for a colour pick.
set -euo pipefail
cd "$(dirname "$0")"
scripts/install-deps.sh
BUILD_DIR=${BUILD_DIR:-build-release}
if [ ! -f "$BUILD_DIR/build.ninja" ]; then
    cmake -S . -B "$BUILD_DIR" -G Ninja -DCMAKE_BUILD_TYPE=Release -DHUELINK_BUILD_BENCH=OFF
fi
cmake --build "$BUILD_DIR" -j "$(nproc)"

# The build writes the demo collections below programdata/.
export PROGRAMDATA="$PWD/$BUILD_DIR/programdata"
HOST="$BUILD_DIR/tools/huelink-host/huelink-host"
SAMPLE="--space rgb --components 51400,30840,20560,0"   # a warm terracotta

if [ -n "${DISPLAY:-}${WAYLAND_DISPLAY:-}" ]; then
    echo "Opening the add-on window; pick a colour and press the select button."
    exec "$HOST" pick $SAMPLE --prompt "Huelink demo" "$@"
fi

echo "No display: running a scripted pick offscreen."
mkdir -p "$BUILD_DIR/screenshots"
export QT_QPA_PLATFORM=offscreen
"$HOST" pick $SAMPLE --screenshot "$BUILD_DIR/screenshots/pick.png" --close-after 1500 "$@"
