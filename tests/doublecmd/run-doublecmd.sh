#!/bin/sh
# A plug-in in the real file manager: Double Commander (its Qt5 build, or its
# GTK2 build) under Xvfb, with a throw-away configuration that registers the
# built plug-ins and throw-away HOME and Wine prefix (so the display settings
# are the defaults). Registered in this order, each for the files it is
# tried on: every FOREIGN plug-in (for all the puzzles), gridlook-linux.wlx
# (the one file for every toolkit, for .tgw) and PLUGIN (for the other
# puzzles). It checks
#   - that F3 on a puzzle shows it exactly as `gridlook render` paints it,
#     centred in the viewer with white margins, pixel for pixel;
#   - that Escape closes the viewer: the Qt5 build leaves the key to the
#     plug-in, which must hand it on; the GTK2 build takes it first;
#   - that the viewer opens again in the same process, and that a large puzzle
#     loaded in its place ("n", next file) shows its top-left corner and moves
#     by exactly one page (5 x 12 + 1 pixels at the default cell size of 12)
#     on Page Down, by three lines (3 x 12) on a notch of the wheel, and with
#     the pointer while the middle button drags it;
#   - that a file the plug-ins decline gets the file manager's own viewer,
#     exactly as a file that no plug-in claims;
#   - that a puzzle for which only the FOREIGN plug-ins are registered gets
#     the file manager's own viewer too: each declines it, and every puzzle
#     before, without taking the file manager down, though their toolkits'
#     libraries now live in its process;
#   - that gridlook-linux.wlx, finding every plug-in, says nothing.
# The captures stay in BUILD_DIR/doublecmd-e2e/HOST.
#
#   tests/doublecmd/run-doublecmd.sh BUILD_DIR HOST PLUGIN [FOREIGN...]
#
# HOST is qt (the installed doublecmd-qt) or gtk (doublecmd-gtk, unpacked into
# BUILD_DIR/doublecmd-gtk, its package file kept there for the next run).
# BUILD_DIR holds gridlook, the plug-ins and tests/qt/screen_check.
set -eu
cd "$(dirname "$0")/../.."
. tests/support/end-to-end.sh
usage="usage: tests/doublecmd/run-doublecmd.sh BUILD_DIR qt|gtk PLUGIN [FOREIGN...]"
[ $# -ge 3 ] || { echo "$usage" >&2; exit 2; }
build=$(cd "$1" && pwd)
host=$2
plugin=$build/$3
shift 3
foreign=""
for name in "$@"; do
    foreign="$foreign $build/$name"
done
dispatcher=$build/gridlook-linux.wlx
check=$build/tests/qt/screen_check
for file in "$build/gridlook" "$plugin" "$dispatcher" "$check" $foreign; do
    [ -f "$file" ] || { echo "run-doublecmd.sh: $file is not built" >&2; exit 2; }
done
captures=$build/doublecmd-e2e/$host
rm -rf "$captures"
mkdir -p "$captures"

# Double Commander's GTK2 build conflicts with the Qt5 build as a package, but
# runs unpacked beside it: its binary, with the rest of the installed
# /usr/lib/doublecmd (doublecmd-common) linked next to it. The package file
# stays in the build folder, so that the next run needs no network.
unpack_gtk_build() {
    folder=$build/doublecmd-gtk
    mkdir -p "$folder"
    if ! ls "$folder"/doublecmd-gtk_*.deb >/dev/null 2>&1; then
        (cd "$folder" && apt-get download -q doublecmd-gtk >"$folder/download.log" 2>&1) ||
            { [ "$(id -u)" -eq 0 ] && apt-get update -qq && (cd "$folder" && apt-get download -q doublecmd-gtk); } >>"$folder/download.log" 2>&1 ||
            { echo "run-doublecmd.sh: cannot download doublecmd-gtk: $(tail -n 2 "$folder/download.log")" >&2; exit 2; }
    fi
    rm -rf "$folder/root"
    dpkg-deb -x "$folder"/doublecmd-gtk_*.deb "$folder/root"
    for entry in /usr/lib/doublecmd/*; do
        [ -e "$folder/root/usr/lib/doublecmd/${entry##*/}" ] || ln -s "$entry" "$folder/root/usr/lib/doublecmd/"
    done
    echo "$folder/root/usr/lib/doublecmd/doublecmd"
}
case "$host" in
    qt) manager_binary=doublecmd ;;
    gtk) manager_binary=$(unpack_gtk_build) ;;
    *) echo "$usage" >&2; exit 2 ;;
esac

work=$(mktemp -d /tmp/gridlook-doublecmd-XXXXXX)
xvfb=""
manager=""
finish() {
    status=$?
    [ -z "$manager" ] || stop "$manager"
    [ -z "$xvfb" ] || stop "$xvfb"
    if [ "$status" -ne 0 ]; then
        echo "run-doublecmd.sh: failed; the captures are in $captures, the file manager's output ends:" >&2
        tail -n 20 "$work/doublecmd.log" >&2 2>/dev/null || true
        echo "run-doublecmd.sh: the X server's output ends:" >&2
        tail -n 5 "$work/xvfb.log" >&2 2>/dev/null || true
    fi
    rm -rf "$work"
    exit "$status"
}
trap finish EXIT
trap 'exit 1' INT TERM HUP
started=$(date +%s)

# The first visible window whose title matches the expression.
window_titled() {
    xdotool search --onlyvisible --name "$1" 2>/dev/null | head -n 1
}
has_window() {
    [ -n "$(window_titled "$1")" ]
}
has_no_window() {
    ! has_window "$1"
}

capture() {
    import -window "$viewer" "$captures/$1.png" 2>/dev/null
}

# The window looks the same twice half a second apart: it has finished
# starting up and takes keys.
idle() {
    import -window "$1" "$work/idle-1.png" 2>/dev/null && sleep 0.5 &&
        import -window "$1" "$work/idle-2.png" 2>/dev/null &&
        "$check" same "$work/idle-1.png" "$work/idle-2.png" 0 >/dev/null
}

# Captures the viewer as NAME until it shows REFERENCE scrolled by SCROLL
# (centred, anywhere, or at "X Y"), leaving in $found what screen_check found:
# X Y WIDTH HEIGHT PIXELS.
shows() {
    name=$1 reference=$2 scroll=$3 where=$4
    capture "$name" || return 1
    if [ "$where" = centred ]; then
        found=$("$check" shows "$captures/$name.png" "$reference" "$scroll" centred 2>"$work/check.log") || return 1
    else
        found=$("$check" shows "$captures/$name.png" "$reference" "$scroll" 2>"$work/check.log") || return 1
        [ "$where" = anywhere ] || [ "$(echo "$found" | cut -d' ' -f1,2)" = "$where" ]
    fi
}
# The same, failing the test when it does not come, and leaving what was found
# in $x, $y, $width, $height and $pixels.
expect_shows() {
    poll 15 shows "$@" || fail "the viewer does not show $2 as expected ($1): $(cat "$work/check.log")"
    read -r x y width height pixels <<EOF
$found
EOF
}

# Two captures in a row that are the same: the viewer has finished drawing.
settled() {
    capture "$1" && sleep 0.2 && import -window "$viewer" "$work/again.png" 2>/dev/null &&
        "$check" same "$captures/$1.png" "$work/again.png" 0 >/dev/null
}
same_as() {
    capture "$1" && "$check" same "$captures/$1.png" "$captures/$2.png" 40 >/dev/null
}

echo "== Double Commander ($host): ${plugin##*/}, gridlook-linux.wlx; declining:${foreign:- none}"

# The puzzles, named so that "n" (next file) walks through them in order.
puzzles=$work/puzzles
mkdir -p "$puzzles" "$work/home" "$work/wine" "$work/config" "$work/runtime"
chmod 700 "$work/runtime"
cp examples/sailboat.tessa "$puzzles/a-sailboat.tessa"
# 100 x 80 cells (stored by columns) of staggered blocks: a few clues per line.
{
    printf '\144\120'
    awk 'BEGIN { for (c = 0; c < 100; c++) for (r = 0; r < 80; r++) printf "%s", (int(r / 4) + int(c / 6)) % 3 ? "\001" : "\002" }'
} >"$puzzles/b-large.tgw"
awk 'BEGIN { for (i = 1; i <= 40; i++) printf "Line %d of a text that is no puzzle at all.\n", i }' >"$puzzles/c-declined.tgr"
cp "$puzzles/c-declined.tgr" "$puzzles/d-declined.txt"
cp examples/cup.pp "$puzzles/e-foreign.pp"
cp examples/cup.pp "$puzzles/f-unclaimed.txt"
"$build/gridlook" render "$puzzles/a-sailboat.tessa" -o "$work/sailboat.png" >/dev/null
"$build/gridlook" render "$puzzles/b-large.tgw" -o "$work/large.png" >/dev/null

# The file manager takes its plug-ins from its configuration only, and tries
# them in their order; it rewrites the file on exit, so each run starts from a
# new one.
registered() {
    echo "<WlxPlugin Enabled=\"True\"><Name>${1##*/}</Name><Path>$1</Path><DetectString>$2</DetectString></WlxPlugin>"
}
plugins=""
for file in $foreign; do
    plugins="$plugins$(registered "$file" 'EXT="TESSA" | EXT="TGW" | EXT="TGR" | EXT="PP"')"
done
plugins="$plugins$(registered "$dispatcher" 'EXT="TGW"')"
plugins="$plugins$(registered "$plugin" 'EXT="TGR" | EXT="TGP" | EXT="PPC" | EXT="PPS" | EXT="TESSA" | FORCE')"
cat >"$work/config/doublecmd.xml" <<EOF
<?xml version="1.0" encoding="UTF-8"?>
<doublecmd DCVersion="1.0.10" ConfigVersion="13"><Plugins><WlxPlugins>$plugins</WlxPlugins></Plugins></doublecmd>
EOF

# A display of our own: a number that no lock file, socket or abstract socket
# claims (another X server may live in a namespace whose /tmp we cannot see),
# and a cookie, so that no client of ours ever reaches a server of another's.
# The server must not reset when a probe of ours disconnects.
free_display() {
    n=$1
    while [ -e "/tmp/.X$n-lock" ] || [ -e "/tmp/.X11-unix/X$n" ] ||
        grep -q " @/tmp/.X11-unix/X$n\$" /proc/net/unix 2>/dev/null; do
        n=$((n + 1))
    done
    echo "$n"
}
answers() {
    [ "$(xdotool getdisplaygeometry 2>/dev/null)" = "1920 1200" ]
}
XAUTHORITY=$work/xauthority
export XAUTHORITY
: >"$XAUTHORITY"
display=99
for attempt in 1 2 3; do
    display=$(free_display $((display + 1)))
    DISPLAY=:$display
    export DISPLAY
    xauth -q add "$DISPLAY" . "$(mcookie)"
    Xvfb "$DISPLAY" -auth "$XAUTHORITY" -noreset -nolisten tcp -screen 0 1920x1200x24 2>"$work/xvfb.log" &
    xvfb=$!
    poll 20 answers && break
    echo "   Xvfb on $DISPLAY does not answer (attempt $attempt): $(tail -n 3 "$work/xvfb.log")" >&2
    stop "$xvfb"
    xvfb=""
done
[ -n "$xvfb" ] || fail "no X server of our own could be started"

# The plug-in is not loaded before F3, so a file manager that ends before its
# window appears has met a fault of its own start-up: it is started again once.
shown_or_ended() {
    has_window '^Double Commander' || ! kill -0 "$manager" 2>/dev/null
}
for attempt in 1 2; do
    env -i PATH="$PATH" DISPLAY="$DISPLAY" XAUTHORITY="$XAUTHORITY" HOME="$work/home" WINEPREFIX="$work/wine" \
        XDG_RUNTIME_DIR="$work/runtime" LANG=C.UTF-8 \
        "$manager_binary" --no-splash --config-dir="$work/config" -L "$puzzles/a-sailboat.tessa" >"$work/doublecmd.log" 2>&1 &
    manager=$!
    poll 60 shown_or_ended || fail "the file manager's window did not appear"
    has_window '^Double Commander' && break
    kill -0 "$xvfb" 2>/dev/null || fail "the X server has gone"
    [ "$attempt" -eq 1 ] || fail "the file manager ended twice before its window appeared"
    echo "   the file manager ended before its window appeared; starting it again. It said: $(tail -n 3 "$work/doublecmd.log")" >&2
    manager=""
done
poll 60 idle "$(window_titled '^Double Commander')" || fail "the file manager's window does not settle"
step "the file manager is up"

# F3 on the file under the cursor, then the pointer over the viewer: without
# a window manager the keyboard follows the pointer.
open_viewer() {
    xdotool mousemove --window "$(window_titled '^Double Commander')" 200 200
    xdotool key F3
    poll 30 has_window "$1" || fail "F3 opened no viewer"
    viewer=$(window_titled "$1")
    xdotool mousemove --window "$viewer" 40 100
}

open_viewer 'a-sailboat\.tessa$'
expect_shows sailboat "$work/sailboat.png" 0 centred
step "F3: the puzzle ($width x $height pixels) stands centred at $x,$y in the viewer; $pixels pixels of the viewer's client area equal the rendering and its white margins"
# Each foreign plug-in was offered the puzzle first: the file manager has
# loaded it, and with it the libraries of its toolkit.
for file in $foreign; do
    grep -qF "$file" "/proc/$manager/maps" || fail "the file manager has not loaded ${file##*/}"
done
[ -z "$foreign" ] || step "the foreign plug-ins, loaded in the file manager's process, declined the puzzle"
xdotool key Escape
poll 15 has_no_window 'a-sailboat\.tessa$' || fail "Escape in the plug-in's viewer did not close it"
step "Escape: the file manager closed the viewer"

open_viewer 'a-sailboat\.tessa$'
expect_shows sailboat-again "$work/sailboat.png" 0 centred
# "n" (next file) is a shortcut of the file manager's viewer.
xdotool key n
poll 15 has_window 'b-large\.tgw$' || fail "n did not load the next file"
expect_shows large-top "$work/large.png" 0 anywhere
if [ "$width" -lt 300 ] || [ "$height" -lt 200 ]; then
    fail "the large puzzle shows only $width x $height pixels"
fi
step "F3 again, then n: the next file, a large puzzle, shows its top-left $width x $height pixels ($pixels) at $x,$y"
xdotool key Next
expect_shows large-page-down "$work/large.png" 61 "$x $y"
step "Page Down: the same place shows the puzzle from its 61st row on, $width x $height pixels ($pixels)"
xdotool click 5
expect_shows large-wheel "$work/large.png" 97 "$x $y"
step "the wheel, one notch towards the user: three lines further, from the 97th row on"
xdotool mousedown 2 mousemove_relative -- 0 -20 mouseup 2
expect_shows large-dragged "$work/large.png" 117 "$x $y"
step "the middle button, dragging the picture 20 pixels up: from the 117th row on"

# The file manager's own viewer shows two files of one content alike, but
# for the title.
walk_to() {
    xdotool key n
    poll 15 has_window "$1" || fail "n did not load $1"
}
walk_to 'c-declined\.tgr$'
poll 15 settled declined || fail "the viewer of the declined file does not settle"
walk_to 'd-declined\.txt$'
poll 15 same_as unclaimed declined || fail "the declined file is not shown by the file manager's own viewer"
step "n, n: a declined file gets the file manager's own viewer, the same as a file that no plug-in claims"
walk_to 'e-foreign\.pp$'
poll 15 settled foreign || fail "the viewer of the puzzle for the foreign plug-ins does not settle"
walk_to 'f-unclaimed\.txt$'
poll 15 same_as foreign-unclaimed foreign ||
    fail "the puzzle for the foreign plug-ins is not shown by the file manager's own viewer"
step "n, n: a puzzle for the foreign plug-ins only gets the file manager's own viewer"
xdotool key Escape
poll 15 has_no_window 'f-unclaimed\.txt$' || fail "Escape did not close the file manager's own viewer"
kill -0 "$manager" 2>/dev/null || fail "the file manager has gone"
# Every plug-in is where gridlook-linux.wlx looks: it has nothing to say. Its
# line may start inside one of the file manager's, which buffers its output.
if grep 'gridlook-linux\.wlx: this process runs' "$work/doublecmd.log" >&2; then
    fail "gridlook-linux.wlx said that a plug-in is missing"
fi
echo "Double Commander ($host): all checks passed in $(($(date +%s) - started)) s"
