#!/usr/bin/env bash
# Installs the Debian packages the build, the tests and the demo data need,
# asking apt only when something is missing.
#
#   scripts/install-deps.sh [all|base|gimp]
#
# "base" is what the module, the tools and their tests need; "gimp" adds the
# GIMP plug-in's build and its tests in a real GIMP; "all" (the default) both.
set -euo pipefail
group=${1:-all}
packages=()
if [ "$group" = all ] || [ "$group" = base ]; then
    packages+=(cmake ninja-build g++ ccache pkg-config
               qt6-base-dev qt6-base-dev-tools libqt6sql6-sqlite
               libxml2-dev libsqlite3-dev sqlite3 fonts-dejavu-core)
fi
if [ "$group" = all ] || [ "$group" = gimp ]; then
    packages+=(gimp libgimp2.0-dev)
fi
# The libFuzzer targets (fuzz/) need clang and its runtime.
[ "${HUELINK_FUZZ:-0}" = 1 ] && packages+=(clang libclang-rt-14-dev)
missing=()
for p in "${packages[@]}"; do
    dpkg-query -W -f='${Status}' "$p" 2>/dev/null | grep -q "install ok installed" || missing+=("$p")
done
if [ ${#missing[@]} -gt 0 ]; then
    echo "Installing: ${missing[*]}"
    SUDO=""
    [ "$(id -u)" -ne 0 ] && SUDO=sudo
    export DEBIAN_FRONTEND=noninteractive
    $SUDO apt-get update -qq
    $SUDO apt-get install -y -qq --no-install-recommends "${missing[@]}" >/dev/null
fi
