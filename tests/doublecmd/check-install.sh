#!/bin/sh
# The install steps of docs/doublecmd.md, run as written but for the build
# folder and the prefix, into a throw-away prefix: they must put the one file
# for every toolkit and every toolkit plug-in that the build made, each of
# which it may pick, into one folder.
#
#   tests/doublecmd/check-install.sh BUILD_DIR
set -eu
cd "$(dirname "$0")/../.."
[ $# -eq 1 ] || { echo "usage: tests/doublecmd/check-install.sh BUILD_DIR" >&2; exit 2; }
build=$(cd "$1" && pwd)
prefix=$(mktemp -d /tmp/gridlook-install-XXXXXX)
trap 'rm -rf "$prefix"' EXIT
fail() {
    echo "check-install.sh: $*" >&2
    exit 1
}

steps=$(grep '^    cmake --install build/release ' docs/doublecmd.md) || fail "docs/doublecmd.md has no install step"
echo "$steps" | while read -r step; do
    echo "$step" | grep -q -- '--prefix ~/\.local$' || fail "an install step goes elsewhere than ~/.local: $step"
    eval "$(echo "$step" | sed "s|build/release|'$build'|; s|~/\.local\$|'$prefix'|")" >/dev/null
done

loader=$(find "$prefix" -name gridlook-linux.wlx)
[ -n "$loader" ] || fail "the documented steps do not install gridlook-linux.wlx"
folder=${loader%/*}
for plugin in "$build"/gridlook-*.wlx; do
    [ -f "$folder/${plugin##*/}" ] || fail "the documented steps do not install ${plugin##*/} beside gridlook-linux.wlx"
done
echo "The documented steps install, into ${folder#"$prefix"/}: $(cd "$folder" && echo gridlook-*.wlx)"
