#!/bin/bash
# The extension in a headless Inkscape with its own profile: pick into the selection's fill, cancel, My Palette as swatches.
set -euo pipefail
build="$(cd "$1" && pwd)"
export PATH="/usr/bin:$PATH" # Inkscape runs extensions with the system Python and its modules
command -v inkscape >/dev/null && command -v xvfb-run >/dev/null && python3 -c 'import lxml, cssselect, numpy' 2>/dev/null || { echo "Inkscape or its Python modules are missing"; exit 77; }
tmp="$(mktemp -d)"
trap 'rm -rf "$tmp"' EXIT
mkdir -p "$tmp"/profile/extensions "$tmp"/config/Vestrel
cp -r "$build/tools/inkscape-extension/huelink" "$tmp/profile/extensions/"
db="$build/programdata/Vestrel/Huelink/SQLite/Contents/Resources/demo-interior.db"
hex() { sqlite3 "$db" "SELECT printf('#%02x%02x%02x', RED, GREEN, BLUE) FROM ROW WHERE CODE = '$1'"; }
interiors='{3b6e2f10-7c41-4d8a-9e25-1a0c5d7b9e01}'
printf '%s\n' '<svg xmlns="http://www.w3.org/2000/svg" width="100" height="40">' \
    '<rect id="r1" width="20" height="20" style="fill:#102030"/>' \
    '<g id="g1"><rect id="r2" x="30" width="20" height="20" style="fill:#ffffff"/></g>' \
    '<rect id="r3" x="60" width="20" height="20" style="fill:#00ff00"/></svg>' > "$tmp/in.svg"
# Inkscape offers extensions as actions only with a display; the host itself stays offscreen.
# The host, recording its arguments and taking any HOST_EXTRA ones.
printf '#!/bin/sh\necho "$@" > "%s"\nexec "%s" "$@" $HOST_EXTRA\n' \
    "$tmp/host-arguments" "$build/tools/huelink-host/huelink-host" > "$tmp/host.sh"
chmod +x "$tmp/host.sh"
fail() { echo "$*"; cat "$tmp/inkscape.log"; exit 1; }
run_inkscape() { # ACTION SELECT OUT [VAR=VALUE...]
    local action="$1" select="$2" out="$3"; shift 3
    env INKSCAPE_PROFILE_DIR="$tmp/profile" XDG_CONFIG_HOME="$tmp/config" PROGRAMDATA="$build/programdata" \
        HUELINK_HOST="$tmp/host.sh" HUELINK_COLLECTION_TOOL="$build/tools/huelink-collection/huelink-collection" \
        QT_QPA_PLATFORM=offscreen "$@" timeout 240 xvfb-run -a inkscape --batch-process \
        --actions="$select;com.vestrel.huelink.$action.noprefs;export-filename:$out;export-overwrite;export-do" \
        "$tmp/in.svg" > "$tmp/inkscape.log" 2>&1 || fail "inkscape failed"
}
fill() { python3 -c "import sys, lxml.etree as e; print(e.parse(sys.argv[1]).find('.//*[@id=\"$2\"]').get('style'))" "$1"; }

run_inkscape pick "select-by-id:r1,r2" "$tmp/picked.svg" HUELINK_INKSCAPE_TEST_CHOOSE=0305-3
grep -q -- "--components $((16 * 257)),$((32 * 257)),$((48 * 257)),0" "$tmp/host-arguments" || fail "host colour: $(cat "$tmp/host-arguments")"
want="$(hex 0305-3)"
for id in r1 r2; do [ "$(fill "$tmp/picked.svg" $id)" = "fill:$want" ] || fail "$id: $(fill "$tmp/picked.svg" $id), want $want"; done
[ "$(fill "$tmp/picked.svg" r3)" = "fill:#00ff00" ] || fail "r3 changed"
# Cancelled: the window closes without a choice and the document stays.
run_inkscape pick "select-by-id:r1" "$tmp/cancelled.svg" HOST_EXTRA="--close-after 1500"
[ "$(fill "$tmp/cancelled.svg" r1)" = "fill:#102030" ] || fail "cancel changed r1"

# My Palette: three chips (the pick above put its chip there too).
printf '%s\n' '[MyPalette]' "%280%2C0%29.Entry=\"ItemIndex($interiors,2,11)\"" \
    "%280%2C1%29.Entry=\"ItemIndex($interiors,31,217)\"" "%281%2C2%29.Entry=\"ItemIndex($interiors,1,1)\"" \
    > "$tmp/config/Vestrel/Huelink.Photoshop.ini"
run_inkscape swatches select-clear "$tmp/swatches.svg"
cp "$tmp/swatches.svg" "$tmp/in.svg"
run_inkscape swatches select-clear "$tmp/swatches.svg" # again: replaces, never doubles
swatches="$(python3 -c '
import sys, lxml.etree as e
ns = {"s": "http://www.w3.org/2000/svg", "i": "http://www.inkscape.org/namespaces/inkscape"}
for g in e.parse(sys.argv[1]).findall(".//s:linearGradient[@i:swatch=\"solid\"]", ns):
    print(g.get("{%s}label" % ns["i"]), g.find("s:stop", ns).get("style"))' "$tmp/swatches.svg")"
expected="$(for chip in '0102-4 - Fiesta' '0305-7 - Boa' '0101-1 - Ivory Tower'; do
    printf '%s stop-color:%s;stop-opacity:1\n' "$chip" "$(hex "${chip%% *}")"
done)"
[ "$swatches" = "$expected" ] || fail "swatches: $swatches"$'\n'"want: $expected"
echo ok
