#!/bin/sh
# The Linux desktop end to end. The Debian packages are built and checked with
# lintian and by their contents. Everything else runs in a throw-away root
# (throwaway-root.sh), so that the machine keeps exactly the packages it had:
#  - apt, asked to install gridlook-doublecmd on a system with only the GTK2
#    build of Double Commander and on one with only its Qt5 build (dpkg status
#    files made for the purpose), brings the plug-in of that build's toolkit
#    and no other toolkit;
#  - the packages are installed, after whatever version of them the machine
#    has is purged;
#  - GIO, which GNOME Files and Thunar ask (and xdg-mime on their desktops),
#    gives our types for a native puzzle named .dat, a file of every other
#    format, .pp puzzle texts of every shape told by their contents, webpbn
#    XML named .pbn or nothing and an Olšák puzzle in colour; and leaves every
#    other .pp file (Puppet manifests, Free Pascal sources, puzzle shapes not
#    told apart), a .pps puzzle, webpbn XML named .xml, an Olšák puzzle in two
#    colours, a .mk puzzle, and the grammars, program sources, makefiles, XML
#    and bridge deals that share the public formats' extensions the type they
#    have without our packages;
#  - tumbler, Thunar's thumbnail service, on a private session bus makes the
#    thumbnail of every puzzle exactly as `gridlook thumbnail` does, and fails
#    a file with a puzzle extension but other contents;
#  - so does the GNOME thumbnail factory, in its sandbox that sees only /usr;
#  - once the packages are purged, the MIME database no longer knows our types.
# Each check runs in a throw-away HOME under build/desktop-e2e, which keeps
# the files and thumbnails for a look afterwards.
set -eu
cd "$(dirname "$0")/../.."
work=$(pwd)/build/desktop-e2e
packages="gridlook gridlook-doublecmd gridlook-doublecmd-gtk2 gridlook-doublecmd-qt5 gridlook-kde"
failures=0

report() { # OK-OR-NOT WHAT
    if [ "$1" = ok ]; then
        echo "  ok      $2"
    else
        echo "  FAILED  $2"
        failures=$((failures + 1))
    fi
}

report_if_equal() { # GOT WANTED WHAT
    if [ "$1" = "$2" ]; then
        report ok "$3"
    else
        report failed "$3 (wanted $2)"
    fi
}

# Runs a command with HOME in a folder of its own and nothing of the caller's
# desktop, bus or Wine settings.
in_home() { # NAME COMMAND...
    home="$work/home-$1"
    shift
    mkdir -p "$home"
    env -u XDG_DATA_HOME -u XDG_DATA_DIRS -u XDG_CONFIG_HOME -u XDG_CACHE_HOME -u XDG_RUNTIME_DIR \
        -u XDG_CURRENT_DESKTOP -u DBUS_SESSION_BUS_ADDRESS -u WINEPREFIX HOME="$home" "$@"
}

apt() {
    DEBIAN_FRONTEND=noninteractive apt-get -o DPkg::Lock::Timeout=600 -y -qq "$@" >/dev/null
}

# Purges whichever of the packages dpkg knows, so that it also undoes an
# install that stopped half way.
purge() {
    # shellcheck disable=SC2086
    known=$(dpkg-query -W -f='${Status} ${Package}\n' $packages 2>/dev/null | awk '$3 != "not-installed" { print $4 }')
    # shellcheck disable=SC2086
    [ -z "$known" ] || apt purge $known
}

check_lintian() {
    echo "-- lintian"
    if lintian --fail-on error,warning build/deb/*.deb >"$work/lintian.txt" 2>&1; then
        report ok "no error or warning"
    else
        report failed "lintian: $(grep -c '^[EW]:' "$work/lintian.txt") errors and warnings"
        cat "$work/lintian.txt"
    fi
}

expected_layout() {
    multiarch=$(dpkg-architecture -qDEB_HOST_MULTIARCH)
    cat <<EOF
gridlook ./usr/bin/gridlook
gridlook ./usr/share/doc/gridlook/changelog.gz
gridlook ./usr/share/doc/gridlook/copyright
gridlook ./usr/share/man/man1/gridlook.1.gz
gridlook ./usr/share/mime/packages/gridlook.xml
gridlook ./usr/share/thumbnailers/gridlook.thumbnailer
gridlook-doublecmd ./usr/lib/$multiarch/gridlook/gridlook-linux.wlx
gridlook-doublecmd ./usr/share/doc/gridlook-doublecmd/changelog.gz
gridlook-doublecmd ./usr/share/doc/gridlook-doublecmd/copyright
gridlook-doublecmd-gtk2 ./usr/lib/$multiarch/gridlook/gridlook-gtk2.wlx
gridlook-doublecmd-gtk2 ./usr/share/doc/gridlook-doublecmd-gtk2/changelog.gz
gridlook-doublecmd-gtk2 ./usr/share/doc/gridlook-doublecmd-gtk2/copyright
gridlook-doublecmd-qt5 ./usr/lib/$multiarch/gridlook/gridlook-qt5.wlx
gridlook-doublecmd-qt5 ./usr/share/doc/gridlook-doublecmd-qt5/changelog.gz
gridlook-doublecmd-qt5 ./usr/share/doc/gridlook-doublecmd-qt5/copyright
gridlook-kde ./usr/lib/$multiarch/qt5/plugins/kf5/thumbcreator/gridlook-thumbnail.so
gridlook-kde ./usr/share/doc/gridlook-kde/changelog.gz
gridlook-kde ./usr/share/doc/gridlook-kde/copyright
EOF
}

check_field() { # PACKAGE FIELD REGEX yes|no WHAT: whether FIELD matches REGEX
    if ! value=$(dpkg-deb -f build/deb/"$1"_*.deb "$2" 2>/dev/null); then
        report failed "$1: no package"
        return
    fi
    matches=no
    echo "$value" | grep -Eq "$3" && matches=yes
    if [ "$matches" = "$4" ]; then
        report ok "$1: $5"
    else
        report failed "$1: $5 ($2: $value)"
    fi
}

# The files of each package, folders left out, against the list above; the
# toolkits each package needs, and the font of text numbers.
check_layout() {
    echo "-- what the packages hold and need"
    for package in $packages; do
        dpkg-deb -c build/deb/"${package}"_*.deb | awk -v p="$package" '$1 !~ /^d/ { print p, $6 }'
    done >"$work/layout.txt"
    if expected_layout | diff -u - "$work/layout.txt"; then
        report ok "every file where it belongs, and nothing else"
    else
        report failed "the packages' files differ from the list above"
    fi
    check_field gridlook Depends 'libqt|libgtk' no "needs neither Qt nor GTK"
    check_field gridlook-doublecmd Depends 'libqt|libgtk' no "needs neither Qt nor GTK"
    check_field gridlook-doublecmd-gtk2 Depends 'libqt' no "needs no Qt"
    check_field gridlook-doublecmd-qt5 Depends 'libgtk' no "needs no GTK"
    check_field gridlook-kde Depends 'libkf5kiogui5' yes "needs KIO, whose worker loads it"
    check_field gridlook-kde Depends 'libgtk' no "needs no GTK"
    for package in gridlook gridlook-doublecmd-gtk2 gridlook-doublecmd-qt5 gridlook-kde; do
        check_field "$package" Recommends 'fonts-liberation2' yes "recommends the font of text numbers"
    done
}

# The packages as an apt repository, known inside the throw-away root.
add_repository() {
    mkdir -p "$work/repository"
    cp build/deb/*.deb "$work/repository/"
    (cd "$work/repository" && dpkg-scanpackages . /dev/null >Packages 2>/dev/null)
    echo "deb [trusted=yes] file:$work/repository ./" >/etc/apt/sources.list.d/gridlook-desktop-test.list
    apt update -o Dir::Etc::SourceList=sources.list.d/gridlook-desktop-test.list \
        -o Dir::Etc::SourceParts=- -o APT::Get::List-Cleanup=0 2>"$work/apt-update.txt"
}

# A dpkg status file of a system that has only PACKAGE and what apt installs
# with it, from the archive's package lists.
status_with_only() { # PACKAGE STATUS-FILE
    : >"$work/no-packages"
    # shellcheck disable=SC2046
    apt-cache -o Dir::State::status="$work/no-packages" show $(
        apt-get -o Dir::State::status="$work/no-packages" -o APT::Install-Recommends=1 --simulate install "$1" |
            sed -n 's/^Inst \([^ ]*\) (\([^ ]*\) .*/\1=\2/p') |
        awk '/^Package:/ { keep = !seen[$2]++ } keep { print } keep && /^Package:/ { print "Status: install ok installed" }' >"$2"
}

# What apt does to install gridlook-doublecmd on a system with only
# FILE-MANAGER: it adds the plug-in of that build's toolkit (and the font),
# and nothing else.
check_toolkit_choice() { # FILE-MANAGER TOOLKIT
    status="$work/status-$1"
    status_with_only "$1" "$status"
    apt-get -o Dir::State::status="$status" -o APT::Install-Recommends=1 --simulate install gridlook-doublecmd \
        >"$work/install-beside-$1.txt" 2>&1 || true
    changes=$(sed -n 's/^Inst \([^ ]*\) .*/\1/p; s/^Remv \([^ ]*\) .*/remove-\1/p' "$work/install-beside-$1.txt" |
        sort | xargs)
    ours=$(echo "$changes" | tr ' ' '\n' | grep -vx fonts-liberation2 | xargs)
    report_if_equal "$ours" "gridlook-doublecmd gridlook-doublecmd-$2" \
        "beside only $1 ($(grep -c ^Package: "$status") packages), apt's changes: $changes"
}

# The puzzles whose thumbnails are made: every example of a type of ours, a
# native file named .dat, the .pp format as .ppc, .pp puzzle texts of every
# shape told by their contents (the cup example also without its picture and
# with CR LF), webpbn XML named .pbn and without a name's extension, a .mk
# puzzle without one (a .pp type by its contents), and files with a puzzle
# extension but other contents; beside them .pp files of other kinds and
# puzzle shapes not told apart (the cup example after spaces and with
# four-digit sizes), a .pps puzzle, the examples whose names belong to others
# (webpbn XML named .xml, the Olšák puzzle in two colours, the .mk puzzle),
# and other people's files under the public formats' extensions, none of
# which is ours.
make_files() {
    mkdir -p "$work/puzzles" "$work/other"
    for example in examples/*; do
        case "$example" in
            *.py) ;;
            *.xml | *.mk | */anchor.g) cp "$example" "$work/other/puzzle-$(basename "$example")" ;;
            *) cp "$example" "$work/puzzles/" ;;
        esac
    done
    cp examples/heart.tessa "$work/puzzles/heart.dat"
    cp examples/cup.pp "$work/puzzles/cup.ppc"
    cp examples/tulip.xml "$work/puzzles/tulip.pbn"
    cp examples/tulip.xml "$work/puzzles/tulip"
    cp examples/bell.mk "$work/puzzles/bell"
    for extension in tgp non nin; do
        printf 'A note about puzzles, not a puzzle.\n' >"$work/puzzles/foreign.$extension"
    done
    cp tests/desktop/pp/puzzles/* "$work/puzzles/"
    sed '/^=/,$d' examples/cup.pp >"$work/puzzles/no-picture.pp"
    sed 's/$/\r/' examples/cup.pp >"$work/puzzles/crlf.pp"
    cp tests/desktop/pp/other/* tests/desktop/public/* "$work/other/"
    cp tests/desktop/public/notes.pbn "$work/other/notes.xml"
    sed '1s/^/  /' examples/cup.pp >"$work/other/puzzle-leading-spaces.pp"
    sed '1s/^10 8$/0010 0008/' examples/cup.pp >"$work/other/puzzle-four-digits.pp"
    cp examples/cup.pp "$work/other/cup.pps"
}

make_expected_thumbnails() {
    for size in 128 256; do
        mkdir -p "$work/expected/$size"
        for file in "$work"/puzzles/*; do
            case "$file" in */foreign*) continue ;; esac
            in_home expected /usr/bin/gridlook thumbnail -s "$size" "$file" "$work/expected/$size/$(basename "$file").png"
        done
    done
}

content_type() {
    in_home types gio info -a standard::content-type "$1" | sed -n 's/^ *standard::content-type: //p'
}

# The types of the other files as GIO gives them without our packages.
record_other_types() {
    for file in "$work"/other/*; do
        echo "$(basename "$file") $(content_type "$file")"
    done >"$work/other-types-before.txt"
}

check_type() { # FILE TYPE
    got=$(content_type "$1")
    report_if_equal "$got" "$2" "$(basename "$1"): $got"
}

check_types() {
    echo "-- file types (GIO)"
    check_type "$work/puzzles/heart.dat" application/x-nonogram-tessa
    check_type "$work/puzzles/sailboat.tessa" application/x-nonogram-tessa
    check_type "$work/puzzles/plus.tgr" application/x-nonogram-tgr
    check_type "$work/puzzles/smiley.tgw" application/x-nonogram-tgw
    check_type "$work/puzzles/house.tgp" text/x-nonogram-tgp
    check_type "$work/puzzles/cup.ppc" text/x-nonogram-pp
    for file in "$work"/puzzles/*.pp "$work/puzzles/bell"; do
        check_type "$file" text/x-nonogram-pp
    done
    for file in "$work"/puzzles/*.non; do
        check_type "$file" text/x-nonogram-non
    done
    check_type "$work/puzzles/note.nin" text/x-nonogram-nin
    check_type "$work/puzzles/foreign.nin" text/x-nonogram-nin
    check_type "$work/puzzles/tulip.pbn" application/x-nonogram-webpbn+xml
    check_type "$work/puzzles/tulip" application/x-nonogram-webpbn+xml
    check_type "$work/puzzles/umbrella.g" text/x-nonogram-olsak
    echo "-- other files keep the type they have without our packages"
    while read -r name before; do
        check_type "$work/other/$name" "$before"
    done <"$work/other-types-before.txt"
    got=$(in_home types xdg-mime query filetype "$work/other/cup.pps")
    report_if_equal "$got" text/plain "cup.pps outside GNOME and Xfce (xdg-mime through file): $got"
    for file in "$work"/other/puzzle-*; do
        if in_home types gridlook info "$file" >/dev/null; then
            report ok "$(basename "$file") is a puzzle that gridlook shows"
        else
            report failed "gridlook does not show $(basename "$file")"
        fi
    done
}

# The maker's lines go to stdout; what the bus or the maker says besides is
# shown only when a check failed.
check_thumbnails() { # MAKER [COMMAND TO RUN IT IN...]
    maker=$1
    shift
    if ! in_home "$maker" "$@" /usr/bin/python3 tests/desktop/thumbnails.py "$maker" "$work/puzzles" \
        "$work/expected" 2>"$work/$maker-stderr.txt"; then
        failures=$((failures + 1))
        cat "$work/$maker-stderr.txt"
    fi
}

# The checks that install packages, in the throw-away root.
check_installed() {
    echo "-- apt's choice of toolkit (simulated)"
    add_repository
    check_toolkit_choice doublecmd-gtk gtk2
    check_toolkit_choice doublecmd-qt qt5
    purge
    make_files
    record_other_types
    apt install --no-install-recommends "$work"/repository/*.deb
    make_expected_thumbnails
    check_types
    echo "-- tumbler, on a private session bus"
    check_thumbnails tumbler dbus-run-session --
    echo "-- the GNOME thumbnail factory, in its sandbox"
    check_thumbnails gnome
    echo "-- after the purge"
    purge
    got=$(content_type "$work/puzzles/heart.dat")
    report_if_equal "$got" application/octet-stream "the MIME database forgot our types: heart.dat is $got"
    for file in cup.pp fish.non note.nin umbrella.g; do
        got=$(content_type "$work/puzzles/$file")
        report_if_equal "$got" text/plain "and $file is $got"
    done
    got=$(content_type "$work/puzzles/tulip.pbn")
    report_if_equal "$got" application/xml "and tulip.pbn is $got"
}

# Our packages on the machine, their state and files.
machine_packages() {
    # shellcheck disable=SC2086
    dpkg-query -W -f='${db:Status-Abbrev} ${Package} ${Version}\n' $packages 2>/dev/null || true
    # shellcheck disable=SC2086
    dpkg-query -L $packages 2>/dev/null | while read -r file; do
        if [ -f "$file" ]; then md5sum "$file"; fi
    done
}

if [ "${1:-}" = --installed ]; then
    check_installed
    [ "$failures" -eq 0 ]
    exit
fi

echo "== the Linux desktop: the Debian packages, their file types and thumbnails"
scripts/install-deps.sh desktop
scripts/build-packages.sh >/dev/null
rm -rf "$work"
mkdir -p "$work"
check_lintian
check_layout
machine_packages >"$work/machine-before.txt"
tests/desktop/throwaway-root.sh "$0" --installed || report failed "the checks in the throw-away root"
echo "-- the machine"
machine_packages >"$work/machine-after.txt"
if diff -u "$work/machine-before.txt" "$work/machine-after.txt"; then
    report ok "our packages on the machine as before: $(grep -c '^ii ' "$work/machine-after.txt") installed"
else
    report failed "the machine's own packages changed"
fi

if [ "$failures" -ne 0 ]; then
    echo "Linux desktop: checks failed"
    exit 1
fi
echo "Linux desktop: every check passed"
