#!/bin/bash
# The plug-in in a headless GIMP with its own profile: foreground, unknown code, palette, pick, missing module or data.
set -euo pipefail
build="$(cd "$1" && pwd)"
plugin="$build/tools/gimp-plugin/huelink"
command -v gimp-console-2.10 >/dev/null && [ -x "$plugin" ] || { echo "GIMP or the plug-in is missing"; exit 77; }
tmp="$(mktemp -d)"
trap 'rm -rf "$tmp"' EXIT
mkdir -p "$tmp"/profile/{plug-ins/huelink,palettes,gradients} "$tmp"/data/Vestrel "$tmp"/empty "$tmp"/config/Vestrel
cp "$plugin" "$tmp/profile/plug-ins/huelink/huelink"
ln -s "$build/programdata/Vestrel/Huelink" "$tmp/data/Vestrel/Huelink"
db="$build/programdata/Vestrel/Huelink/SQLite/Contents/Resources/demo-interior.db"
rgb() { sqlite3 -separator ' ' "$db" "SELECT '(' || RED, GREEN, BLUE || ')' FROM ROW WHERE CODE = '$1'"; }
interiors='{3b6e2f10-7c41-4d8a-9e25-1a0c5d7b9e01}'
# My Palette: three chips and one of a collection no longer installed.
cat > "$tmp/config/Vestrel/Huelink.Photoshop.ini" <<INI
[MyPalette]
MyPaletteDescription=Kitchen walls
%280%2C0%29.Entry="ItemIndex($interiors,2,11)"
%280%2C3%29.Entry="ItemIndex({00000000-0000-0000-0000-0000000000aa},1,1)"
%281%2C2%29.Entry="ItemIndex($interiors,31,217)"
%283%2C5%29.Entry="ItemIndex($interiors,1,1)"
INI

# Runs the Scheme lines in one GIMP session; `put` writes a value to out.txt.
run_gimp() {
    local programdata="$1" module="$2"; shift 2
    rm -f "$tmp/out.txt"
    (cd "$tmp" && env GIMP2_DIRECTORY="$tmp/profile" XDG_CONFIG_HOME="$tmp/config" PROGRAMDATA="$programdata" \
        HUELINK_MODULE="$module" HUELINK_GIMP_TEST_CHOOSE=0305-3 QT_QPA_PLATFORM=offscreen \
        timeout 240 gimp-console-2.10 -i -d -f -b "(let ((port (open-output-file \"out.txt\")))
            (define (put x) (write x port) (newline port))
            (define (fg) (put (car (gimp-context-get-foreground))))
            $* (close-output-port port))" -b '(gimp-quit 0)') > "$tmp/gimp.log" 2>&1
}
expect() {
    diff <(printf '%s\n' "$@") "$tmp/out.txt" || { cat "$tmp/gimp.log"; exit 1; }
}
module="$build/src/huelink_picker.so"

run_gimp "$tmp/data" "$module" '
    (plug-in-huelink-set-foreground RUN-NONINTERACTIVE "0102-4" "") (fg)
    (plug-in-huelink-set-foreground RUN-NONINTERACTIVE "0101-1" "vestrel interiors") (fg)
    (catch (put "refused") (plug-in-huelink-set-foreground RUN-NONINTERACTIVE "0102-4" "No Such Deck")) (fg)
    (catch (put "refused") (plug-in-huelink-set-foreground RUN-NONINTERACTIVE "ZZ-404" "")) (fg)
    (let ((name (car (plug-in-huelink-palette-to-gimp RUN-NONINTERACTIVE))))
      (put name) (put (cadr (gimp-palette-get-colors name)))
      (put (map (lambda (i) (car (gimp-palette-entry-get-name name i))) (list 0 1 2))))
    (put (car (plug-in-huelink-palette-to-gimp RUN-NONINTERACTIVE)))
    (put (car (gimp-palettes-get-list "Kitchen")))
    (plug-in-huelink-pick RUN-NONINTERACTIVE) (fg)
    (plug-in-huelink-set-foreground RUN-NONINTERACTIVE "0102-4" "")
    (plug-in-huelink-pick RUN-NONINTERACTIVE) (fg)'
p=$(rgb 0102-4)
expect "$p" "$(rgb 0101-1)" '"refused"' "$(rgb 0101-1)" '"refused"' "$(rgb 0101-1)" '"Kitchen walls"' \
    "#($(rgb 0102-4) $(rgb 0305-7) $(rgb 0101-1))" '("0102-4 - Fiesta" "0305-7 - Boa" "0101-1 - Ivory Tower")' \
    '"Kitchen walls"' 1 "$(rgb 0305-3)" "$(rgb 0305-3)"
grep -q "Huelink: no chip has the code 'ZZ-404' in the enabled collections" "$tmp/gimp.log"
grep -q "Huelink: no installed collection is named 'No Such Deck'" "$tmp/gimp.log"

# A missing module, and no collections: one message each, the foreground stays.
run_gimp "$tmp/data" "$tmp/missing.so" '(plug-in-huelink-set-foreground RUN-NONINTERACTIVE "0102-4" "")
    (catch (put "refused") (plug-in-huelink-pick RUN-NONINTERACTIVE)) (fg)'
expect '"refused"' "$p"
grep -q "Huelink: cannot load module '$tmp/missing.so'" "$tmp/gimp.log"
run_gimp "$tmp/empty" "$module" '(gimp-context-set-foreground (list 1 2 3))
    (catch (put "refused") (plug-in-huelink-pick RUN-NONINTERACTIVE))
    (catch (put "refused") (plug-in-huelink-set-foreground RUN-NONINTERACTIVE "0102-4" "")) (fg)'
expect '"refused"' '"refused"' "(1 2 3)"
[ "$(grep -c "Huelink: no Huelink collections are installed in '$tmp/empty/Vestrel/Huelink/SQLite/Contents/Resources'" "$tmp/gimp.log")" = 2 ]
echo ok
