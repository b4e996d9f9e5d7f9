#!/usr/bin/env bash
# Builds Huelink in Release with the demo collections and asks the stand-in
# host for a colour pick. With a display the add-on window opens for you;
# without one a scripted pick chooses the demo chip nearest to the sample
# colour and saves screenshots under <build>/screenshots/.
set -euo pipefail
cd "$(dirname "$0")"
scripts/install-deps.sh
BUILD_DIR=${BUILD_DIR:-build-release}
# The build talks only when it fails; its whole output is in build.log.
mkdir -p "$BUILD_DIR"
LOG="$BUILD_DIR/build.log"
quietly() {
    "$@" > "$LOG" 2>&1 || { tail -n 40 "$LOG" >&2; echo "run.sh: the build failed; see $LOG" >&2; exit 1; }
}
if [ ! -f "$BUILD_DIR/build.ninja" ]; then
    echo "Configuring $BUILD_DIR (Release)..."
    quietly cmake -S . -B "$BUILD_DIR" -G Ninja -DCMAKE_BUILD_TYPE=Release -DBUILD_TESTING=OFF
fi
# The host, the module it loads and the demo collection files.
echo "Building the host, the module and the demo collections..."
quietly cmake --build "$BUILD_DIR" -j "$(nproc)" --target huelink-host huelink-collection demo_collections

# The build writes the demo collections below programdata/.
export PROGRAMDATA="$PWD/$BUILD_DIR/programdata"
HOST="$BUILD_DIR/tools/huelink-host/huelink-host"
TOOL="$BUILD_DIR/tools/huelink-collection/huelink-collection"
SAMPLE_RGB=(200 120 80) # a warm terracotta
SAMPLE="--space rgb --components $((SAMPLE_RGB[0] * 257)),$((SAMPLE_RGB[1] * 257)),$((SAMPLE_RGB[2] * 257)),0"

if [ -n "${DISPLAY:-}${WAYLAND_DISPLAY:-}" ]; then
    echo "Opening the add-on window; pick a colour and press the select button."
    exec "$HOST" pick $SAMPLE --prompt "Huelink demo" "$@"
fi

echo "No display: running a scripted pick offscreen."
export QT_QPA_PLATFORM=offscreen
SHOTS="$BUILD_DIR/screenshots"
mkdir -p "$SHOTS"
# A user state of its own, so every scripted run starts alike and your own
# palette stays as it is.
STATE="$PWD/$BUILD_DIR/run-state"
rm -rf "$STATE"
mkdir -p "$STATE/config" "$STATE/data" "$STATE/runtime"
chmod 700 "$STATE/runtime"
export XDG_CONFIG_HOME="$STATE/config" XDG_DATA_HOME="$STATE/data" XDG_RUNTIME_DIR="$STATE/runtime"

# The about box. Its request starts the engine, which records the collection
# a new host process opens first.
"$HOST" about --screenshot "$SHOTS/about-box.png" --close-after 1500 >/dev/null
COLLECTION=$(sed -n 's/^UuidOfLastUsedCollection=//p' "$XDG_CONFIG_HOME/Vestrel/Huelink.Photoshop.ini")
if ! [[ "$COLLECTION" =~ ^\{[0-9a-fA-F-]{36}\}$ ]]; then
    echo "run.sh: the module recorded no collection; are the demo collections built?" >&2
    exit 1
fi

# The chip of that collection nearest to the sample by CIEDE2000, ranked by
# the collection tool exactly as the interface ranks it. Files by name, as
# the module scans them: the first that holds the collection supplies it.
HEX=$(printf '%02X%02X%02X' "${SAMPLE_RGB[@]}")
CODE=""
shopt -s nullglob
LC_COLLATE=C
for file in "$PROGRAMDATA"/Vestrel/Huelink/SQLite/Contents/Resources/*.db; do
    CODE=$("$TOOL" match "$file" --collection "$COLLECTION" --count 1 --rgb "$HEX" --json 2>/dev/null \
           | sed -n 's/.*"matches":\[{"code":"\([^"]*\)".*/\1/p' || true)
    [ -n "$CODE" ] && break
done
if [ -z "$CODE" ]; then
    echo "run.sh: no chip found in the collection $COLLECTION" >&2
    exit 1
fi

# The chip a returned block stands for: its code, its name (the chip of
# that code among the exact colour matches) and its colour as #rrggbb.
describe_block() {
    local components red green blue hex name="" file
    components=$(sed -n 's/.*"components":\[\([0-9,]*\)\].*/\1/p' <<<"$1")
    IFS=, read -r red green blue _ <<<"$components"
    hex=$(printf '%02X%02X%02X' $(((red + 128) / 257)) $(((green + 128) / 257)) $(((blue + 128) / 257)))
    for file in "$PROGRAMDATA"/Vestrel/Huelink/SQLite/Contents/Resources/*.db; do
        for uuid in $("$TOOL" inspect "$file" | sed -n 's/^Collection .*\({[0-9a-fA-F-]*}\).*/\1/p'); do
            name=$("$TOOL" match "$file" --collection "$uuid" --count 5 --rgb "$hex" --json 2>/dev/null |
                   grep -o "{\"code\":\"$2\",\"name\":\"[^\"]*\"" | sed 's/.*"name":"\(.*\)"/\1/' | head -1 || true)
            [ -n "$name" ] && break 2
        done
    done
    echo "  = chip $2${name:+ \"$name\"} #$(tr 'A-F' 'a-f' <<<"$hex")"
}

echo "Host colour RGB(${SAMPLE_RGB[*]}); choosing the nearest demo chip, $CODE."
# The chosen chip also goes into a palette file and a swatch file, through
# the window's save and create-swatch buttons, beside the screenshots.
BLOCK=$("$HOST" pick $SAMPLE --choose "$CODE" --screenshot "$SHOTS/pick-start.png" \
        --screenshot-dialog "$SHOTS/nearest-colour-dialog.png" \
        --save-palette "$SHOTS/my-palette.palette" --export-swatches "$SHOTS/my-palette.aco" \
        --close-after 60000 "$@")
echo "Returned block: $BLOCK"
describe_block "$BLOCK" "$CODE"

# Open the window once more with the picked colour: it goes straight to the
# chip, and My Palette holds it, selected.
COMPONENTS=$(sed -n 's/.*"components":\[\([0-9,]*\)\].*/\1/p' <<<"$BLOCK")
"$HOST" pick --space rgb --components "$COMPONENTS" --screenshot "$SHOTS/addon-window.png" \
        --close-after 1500 >/dev/null
# The same, with the colour schemes tab clicked.
"$HOST" pick --space rgb --components "$COMPONENTS" --tab schemes --screenshot "$SHOTS/schemes-tab.png" \
        --close-after 1500 >/dev/null

# A Capsure measurement, written as the device software writes it (a
# temporary file renamed into the watched folder). It names a chip of each
# Capsure collection; the import takes the second item, the Heritage chip, so
# the window switches collection, and the pick returns that chip's colour.
MEASUREMENT="$PROGRAMDATA/Vestrel/Capsure/Measurements/measurement.cxf"
"$TOOL" measurement "$MEASUREMENT" --name 0101-1 --name H05.3
echo "Capsure measurement naming 0101-1 and H05.3; importing the second item."
CAPSURE_BLOCK=$("$HOST" pick $SAMPLE --capsure-import --capsure-item 2 \
                --screenshot-capsure "$SHOTS/capsure-dialog.png" --choose H05.3 --close-after 60000)
echo "Returned block after the Capsure import: $CAPSURE_BLOCK"
describe_block "$CAPSURE_BLOCK" H05.3
rm -f "$MEASUREMENT"

# The catalog tabs of every listed demo collection. The host colour is the
# chip just picked, so no dialog asks first; the host then switches to each
# collection through the collection selector and clicks the tab.
for file in "$PROGRAMDATA"/Vestrel/Huelink/SQLite/Contents/Resources/*.db; do
    "$TOOL" inspect "$file" | sed -n 's/^Collection \([^ ]*\) "\(.*\)" {.*: enabled$/\1 \2/p' |
    while read -r SYSTEM_ID NAME; do
        SLUG=$(tr 'A-Z' 'a-z' <<<"$SYSTEM_ID")
        for TAB in foresight products textures; do
            "$HOST" pick --space rgb --components "$COMPONENTS" --collection "$NAME" --tab "$TAB" \
                    --screenshot "$SHOTS/tab-$TAB-$SLUG.png" --close-after 2500 >/dev/null 2>&1 ||
                { rm -f "$SHOTS/tab-$TAB-$SLUG.png"; echo "  ($NAME offers no $TAB tab)"; }
        done
    done
done
echo "Screenshots in $SHOTS/: $(cd "$SHOTS" && ls | tr '\n' ' ')"
