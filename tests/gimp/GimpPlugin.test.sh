#!/bin/bash
# The plug-in in a headless GIMP with its own profile: foreground, unknown code, palette, pick, missing module or data;
# and a palette text file exported by the stand-in host, read by GIMP itself.
set -euo pipefail
build="$(cd "$1" && pwd)"
plugin="$build/tools/gimp-plugin/huelink"
command -v gimp-console-2.10 >/dev/null && [ -x "$plugin" ] && [ -x "$build/tools/huelink-host/huelink-host" ] \
    || { echo "GIMP, the plug-in or the stand-in host is missing"; exit 77; }
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

# Runs the Scheme lines in one GIMP session; `put` writes a value to out.txt. Without data files unless asked.
no_data=-d
run_gimp() {
    local programdata="$1" module="$2"; shift 2
    rm -f "$tmp/out.txt"
    (cd "$tmp" && env GIMP2_DIRECTORY="$tmp/profile" XDG_CONFIG_HOME="$tmp/config" PROGRAMDATA="$programdata" \
        HUELINK_MODULE="$module" HUELINK_GIMP_TEST_CHOOSE=0305-3 QT_QPA_PLATFORM=offscreen \
        timeout 240 gimp-console-2.10 -i $no_data -f -b "(let ((port (open-output-file \"out.txt\")))
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
# My Palette, opened from a palette file and exported as a palette text file by the stand-in host into the
# profile's palettes folder: GIMP lists it under the description with the cells' colours in row-major order.
chip() { sqlite3 -separator '" row-index="' "$db" "SELECT P.PAGE_INDEX, R.ROW_INDEX FROM ROW R JOIN PAGE P ON
    P.ID = R.PAGE_ID JOIN COLLECTION_PAGE_MAP M ON M.PAGE_ID = P.ID WHERE M.COLLECTION_ID = 1 AND R.CODE = '$3'" |
    sed "s/^/<chip row=\"$1\" col=\"$2\"><entry uuid-of-collection=\"$interiors\" page-index=\"/; s#\$#\" color-code=\"$3\"/></chip>#"; }
printf '<?xml version="1.0" encoding="UTF-8"?>\n<vestrel-palette version="3.0" system="multi-collection">
<description>Exported walls</description><chips>%s%s%s</chips></vestrel-palette>\n' \
    "$(chip 0 0 0102-4)" "$(chip 1 2 0305-7)" "$(chip 3 5 0101-1)" > "$tmp/walls.palette"
mkdir -p "$tmp/config-export"
env XDG_CONFIG_HOME="$tmp/config-export" PROGRAMDATA="$tmp/data" QT_QPA_PLATFORM=offscreen \
    "$build/tools/huelink-host/huelink-host" pick --space rgb --components 0,0,0,0 --load-palette "$tmp/walls.palette" \
    --export-swatches "$tmp/profile/palettes/exported-walls.gpl" --close-after 60000 > "$tmp/host.log" 2>&1 \
    || { cat "$tmp/host.log"; exit 1; }
no_data=
run_gimp "$tmp/data" "$module" '(put (gimp-palettes-get-list "Exported walls"))
    (put (cadr (gimp-palette-get-colors "Exported walls")))'
expect '(1 ("Exported walls"))' "#($(rgb 0102-4) $(rgb 0305-7) $(rgb 0101-1))"
echo ok
