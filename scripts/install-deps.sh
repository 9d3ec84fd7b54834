#!/bin/sh
# Installs the Debian packages that the given jobs need, when any is missing.
# Jobs: build (the library, the command, its tests and benchmarks, the SAT
# solver CaDiCaL that the solver's back end links, and python3, whose parser
# checks the command's JSON), sanitize, windows (the cross-built
# plug-ins and Wine to try them), windows32 (32-bit Wine, for a kernel
# that runs 32-bit programs), qt (the Qt5 plug-in and the file manager, X server
# and tools to try it), toolkits (the GTK2 and Qt6 plug-ins, and GTK3 for a host
# that the GTK2 plug-in must tell from its own; the file manager's GTK2 build is
# a package file that the test unpacks), package (the Debian
# packages), desktop (their checks: lintian, the MIME database, tumbler and the
# GNOME thumbnail factory), kde (the KIO thumbnail plug-in), dolphin (KIO's
# thumbnail worker, and the file manager Dolphin under an X server, to try it).
set -eu

packages_for() {
    case "$1" in
        build) echo "cmake ninja-build g++ pkg-config libgtest-dev libbenchmark-dev libpng-dev libfreetype-dev libfontconfig-dev libexpat1-dev fonts-liberation2 libcadical-dev python3" ;;
        sanitize) echo "clang libclang-rt-14-dev" ;;
        qt) echo "qtbase5-dev doublecmd-qt xvfb xauth xdotool imagemagick" ;;
        toolkits) echo "libgtk2.0-dev qt6-base-dev libgtk-3-0" ;;
        package) echo "dpkg-dev file" ;;
        desktop) echo "lintian shared-mime-info libglib2.0-bin xdg-utils file dbus tumbler gir1.2-gdkpixbuf-2.0 gir1.2-gnomedesktop-3.0 bubblewrap python3-gi" ;;
        kde) echo "libkf5kio-dev" ;;
        dolphin) echo "kio-extras dolphin xvfb xauth xdotool imagemagick" ;;
        windows) echo "cmake ninja-build g++-mingw-w64-x86-64 g++-mingw-w64-i686 binutils-mingw-w64-x86-64 binutils-mingw-w64-i686 wine wine64 xvfb xauth" ;;
        windows32) echo "wine32:i386" ;;
        *) echo "install-deps.sh: unknown job '$1'" >&2; exit 2 ;;
    esac
}

wanted=""
for job in "$@"; do
    wanted="$wanted $(packages_for "$job")"
done

missing=""
for package in $wanted; do
    dpkg-query -W -f='${Status}' "$package" 2>/dev/null | grep -q "install ok installed" || missing="$missing $package"
done
[ -z "$missing" ] && exit 0

echo "Installing:$missing"
if [ "$(id -u)" -ne 0 ]; then
    echo "install-deps.sh: run as root to install the missing packages" >&2
    exit 1
fi
export DEBIAN_FRONTEND=noninteractive
# Another installation may hold the package database for a while.
wait_for_lock="-o DPkg::Lock::Timeout=600"
# A package of another architecture (wine32:i386) needs that architecture first.
for package in $missing; do
    architecture=${package#*:}
    [ "$architecture" = "$package" ] && continue
    dpkg --print-foreign-architectures | grep -qx "$architecture" || dpkg --add-architecture "$architecture"
done
# shellcheck disable=SC2086
apt-get $wait_for_lock update -qq
# shellcheck disable=SC2086
apt-get $wait_for_lock install -y -qq --no-install-recommends $missing >/dev/null
