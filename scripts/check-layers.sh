#!/usr/bin/env bash
# Fails when a file includes from a room above its own:
#  - the engine rooms (color, db, state, engine, platform, formats) never include host or ui;
#  - a view room never includes another view room (the main widget's room,
#    browse, wires the views together and may include them all);
#  - the shared rooms (look, chips) include no view room.
# Usage: check-layers.sh [SOURCE_ROOT]   (default: the project's src/)
set -euo pipefail
root=${1:-"$(dirname "$0")/../src"}
cd "$root"
views=(palette harmonizer catalog matching browse)
status=0

violations() { # $1: folder, $2: extended regex of forbidden include targets
    [ -d "$1" ] || return 0
    grep -rnE --include='*.h' --include='*.cpp' "^[[:space:]]*#[[:space:]]*include[[:space:]]*\"($2)/" "$1" || true
}

report() { # $1: rule, $2: hits
    [ -z "$2" ] && return 0
    echo "layer check: $1" >&2
    echo "$2" | sed 's/^/  /' >&2
    status=1
}

for room in color db state engine platform formats; do
    report "$room must not include host or ui" "$(violations "$room" 'host|ui')"
done
for room in "${views[@]}"; do
    [ "$room" = browse ] && continue
    others=$(printf 'ui/%s|' "${views[@]}" | sed "s#ui/$room|##; s/|$//")
    report "ui/$room must not include another view room" "$(violations "ui/$room" "$others")"
done
for room in look chips; do
    report "ui/$room must not include a view room" "$(violations "ui/$room" "$(printf 'ui/%s|' "${views[@]}" | sed 's/|$//')")"
done
exit $status
