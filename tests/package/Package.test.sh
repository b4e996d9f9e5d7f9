#!/bin/bash
# The .deb built with CPack: lintian and hardening-check find nothing, its dependencies, and the unpacked host
# picking a chip with the unpacked module and data, quietly without a runtime folder.
set -euo pipefail
build="$(cd "$1" && pwd)"
for tool in dpkg-deb cpack lintian hardening-check; do command -v $tool >/dev/null || { echo "$tool is missing"; exit 77; }; done
tmp="$(mktemp -d)"
trap 'rm -rf "$tmp"' EXIT
cpack -G DEB -B "$tmp/pkg" --config "$build/CPackConfig.cmake" > "$tmp/cpack.log" 2>&1 || { cat "$tmp/cpack.log"; exit 1; }
deb=("$tmp"/pkg/huelink_*.deb)
lintian --fail-on error,warning "${deb[0]}" || exit 1
info="$(dpkg-deb --info "${deb[0]}")"
for needed in 'Depends:.*libqt6widgets6' 'Depends:.*libqt6sql6-sqlite' 'Depends:.*libxml2' 'Suggests: gimp'; do
    grep -q "$needed" <<< "$info" || { echo "no '$needed' in:"; echo "$info"; exit 1; }
done
dpkg-deb -x "${deb[0]}" "$tmp/root"
[ -z "$(find "$tmp/root" -path '*/usr/local*' | head -1)" ] || { echo "files below /usr/local"; exit 1; }
# Debian's own flags leave control-flow protection out. The module handles text only through the toolkit, so
# no libc call in it has a size the compiler knows and none can be fortified.
find "$tmp/root" -type f -exec sh -c 'head -c4 "$1" | grep -q ELF' _ {} \; -print | while read -r binary; do
    case "$binary" in *.so) skip=--nofortify ;; *) skip= ;; esac
    hardening-check --quiet --nocfprotection $skip "$binary" || exit 1
done
find_one() { find "$tmp/root" -path "$1" | head -1; }
host="$(find_one '*/bin/huelink-host')"
module="$(find_one '*/lib/*huelink/huelink_picker.so')"
data="$(find_one '*/share/huelink')"
[ -n "$(find_one '*/plug-ins/huelink/huelink')" ] && [ -n "$(find_one '*/doc/huelink/host.md')" ]
db="$data/Vestrel/Huelink/SQLite/Contents/Resources/demo-interior.db"
expected="$(sqlite3 "$db" "SELECT (RED * 257) || ',' || (GREEN * 257) || ',' || (BLUE * 257) FROM ROW WHERE CODE = '0204-5'")"
run_host() { env -u XDG_RUNTIME_DIR PROGRAMDATA="$data" XDG_CONFIG_HOME="$tmp/config" QT_QPA_PLATFORM=offscreen "$@" \
    "$host" pick --plugin "$module" --space rgb --components 0,0,0,0 --choose 0204-5 2> "$tmp/stderr"; }
out="$(run_host)"
[ "$out" = "{\"selector\":1,\"status\":0,\"changed\":true,\"space\":0,\"components\":[$expected,0]}" ] || { echo "$out"; exit 1; }
[ ! -s "$tmp/stderr" ] || { echo "stderr:"; cat "$tmp/stderr"; exit 1; }
# The toolkit's other messages still show.
run_host QT_LOGGING_RULES=huelink.debug=true > /dev/null
grep -q '^huelink: ' "$tmp/stderr" || { echo "no debug lines:"; cat "$tmp/stderr"; exit 1; }
echo ok
