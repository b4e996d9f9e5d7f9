#!/bin/bash
# The view gallery renders every view of both demo decks into PNGs.
set -euo pipefail
build="$1"
gallery="$build/tools/view-gallery/view-gallery"
[ -x "$gallery" ] || { echo "view-gallery not built"; exit 1; }
out="$(mktemp -d)"
trap 'rm -rf "$out"' EXIT
"$gallery" --demo --output "$out" > "$out/list.txt"
for deck in demo demopv; do
    for view in stage collection-selector color-wheel search card-roller tab-bar; do
        [ -s "$out/$deck/$view.png" ] || { echo "missing $deck/$view.png"; exit 1; }
    done
done
# The pelvon deck has no mood buttons but its made-to-order item.
[ -s "$out/demo/mood-filter.png" ] && [ -s "$out/demopv/mood-filter.png" ]
echo ok
