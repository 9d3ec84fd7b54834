#!/bin/sh
# Runs a command as root in a throw-away root: namespaces of its own in which
# /usr, /etc and /var are overlays over the machine's, whose changes go to a
# temporary folder that is removed afterwards. Packages can be installed and
# purged there, with their maintainer scripts and triggers, while the
# machine's package database, files and settings stay as they were. Only
# dpkg's two lock files are the machine's own: an installation inside waits
# for one on the machine to end before it reads the package database, and
# the other way round. Whatever the command leaves running ends with it.
#
#     tests/desktop/throwaway-root.sh COMMAND [ARGUMENT...]
set -eu

# Inside the namespaces: the overlays, then the command.
if [ "${1:-}" = --inside ]; then
    changes=$2
    shift 2
    locks="$changes/locks"
    mkdir -p "$locks"
    for lock in lock lock-frontend; do
        [ -e "/var/lib/dpkg/$lock" ] || continue
        : >"$locks/$lock"
        mount --bind "/var/lib/dpkg/$lock" "$locks/$lock"
    done
    for dir in usr etc var; do
        mkdir -p "$changes/upper/$dir" "$changes/work/$dir"
        mount -t overlay overlay \
            -o "lowerdir=/$dir,upperdir=$changes/upper/$dir,workdir=$changes/work/$dir" "/$dir"
    done
    for lock in lock lock-frontend; do
        [ -e "$locks/$lock" ] && mount --bind "$locks/$lock" "/var/lib/dpkg/$lock"
    done
    exec "$@"
fi

if [ "$(id -u)" -ne 0 ]; then
    echo "throwaway-root.sh: run as root" >&2
    exit 1
fi
changes=$(mktemp -d)
status=0
unshare --mount --propagation private --pid --fork --mount-proc \
    "$0" --inside "$changes" "$@" || status=$?
rm -rf "$changes"
exit "$status"
