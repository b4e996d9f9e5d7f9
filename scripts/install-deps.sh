#!/usr/bin/env bash
# Installs the Debian packages the build, the tests and the demo data need,
# asking apt only when something is missing.
#
#   scripts/install-deps.sh [all|base|gimp|inkscape]...
#
# "base" is what the module, the tools, the package and their tests need
# (help2man writes the manual pages; lintian and hardening-check from
# devscripts check the package); "gimp" adds the GIMP plug-in's build and
# its tests in a real GIMP; "inkscape" adds Inkscape, the Python modules its
# extensions run with and the virtual display its test runs it on (Inkscape
# offers extensions to scripts only with a display); "all" (the default)
# every group.
set -euo pipefail
[ $# -eq 0 ] && set -- all
wants() {
    local group
    for group in "${groups[@]}"; do
        [ "$group" = all ] || [ "$group" = "$1" ] && return 0
    done
    return 1
}
groups=("$@")
packages=()
if wants base; then
    packages+=(cmake ninja-build g++ ccache pkg-config
               qt6-base-dev qt6-base-dev-tools libqt6sql6-sqlite
               libxml2-dev libsqlite3-dev libfontconfig-dev sqlite3 fonts-dejavu-core
               help2man lintian devscripts)
fi
if wants gimp; then
    packages+=(gimp libgimp2.0-dev)
fi
if wants inkscape; then
    packages+=(inkscape python3-lxml python3-cssselect python3-numpy xvfb xauth)
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
