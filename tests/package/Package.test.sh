#!/bin/bash
# The .deb built with CPack: its dependencies, and the unpacked host picking a chip with the unpacked module and data.
set -euo pipefail
build="$(cd "$1" && pwd)"
command -v dpkg-deb >/dev/null && command -v cpack >/dev/null || { echo "dpkg-deb or cpack is missing"; exit 77; }
tmp="$(mktemp -d)"
trap 'rm -rf "$tmp"' EXIT
cpack -G DEB -B "$tmp/pkg" --config "$build/CPackConfig.cmake" > "$tmp/cpack.log" 2>&1 || { cat "$tmp/cpack.log"; exit 1; }
deb=("$tmp"/pkg/huelink_*.deb)
info="$(dpkg-deb --info "${deb[0]}")"
for needed in 'Depends:.*libqt6widgets6' 'Depends:.*libqt6sql6-sqlite' 'Depends:.*libxml2' 'Suggests: gimp'; do
    grep -q "$needed" <<< "$info" || { echo "no '$needed' in:"; echo "$info"; exit 1; }
done
dpkg-deb -x "${deb[0]}" "$tmp/root"
find_one() { find "$tmp/root" -path "$1" | head -1; }
host="$(find_one '*/bin/huelink-host')"
module="$(find_one '*/lib/huelink/huelink_picker.so')"
data="$(find_one '*/share/huelink')"
[ -n "$(find_one '*/plug-ins/huelink/huelink')" ] && [ -n "$(find_one '*/doc/huelink/host.md')" ]
db="$data/Vestrel/Huelink/SQLite/Contents/Resources/demo-interior.db"
expected="$(sqlite3 "$db" "SELECT (RED * 257) || ',' || (GREEN * 257) || ',' || (BLUE * 257) FROM ROW WHERE CODE = '0204-5'")"
out="$(env PROGRAMDATA="$data" XDG_CONFIG_HOME="$tmp/config" QT_QPA_PLATFORM=offscreen \
    "$host" pick --plugin "$module" --space rgb --components 0,0,0,0 --choose 0204-5)"
[ "$out" = "{\"selector\":1,\"status\":0,\"changed\":true,\"space\":0,\"components\":[$expected,0]}" ] || { echo "$out"; exit 1; }
echo ok
