#!/bin/sh
# The KIO thumbnail plug-in in KDE's own machinery, without installing
# anything into /usr: the command and the plug-in are installed by their
# install rules into a throw-away prefix, which KIO finds through
# QT_PLUGIN_PATH and the MIME database through XDG_DATA_DIRS. It checks
#   - that KIO's preview job (as every KDE program asks for thumbnails, through
#     KIO's thumbnail worker) gives every puzzle of a type of ours at 128 and
#     256 pixels exactly as `gridlook thumbnail` makes it, and fails files
#     with a puzzle extension but other contents;
#   - that the real Dolphin under Xvfb, in icon view with previews of 256
#     pixels, shows each of those puzzles' thumbnails pixel for pixel in its
#     window (the screenshot stays as BUILD_DIR/kde-e2e/dolphin.png). Small
#     previews are not enlarged to fill the frame (a setting of Dolphin's,
#     which enlarges them by default), and the widest text leaves each item
#     room for a preview of 256 pixels in its frame.
# Each run has its own HOME, configuration, cache and Wine prefix (so the
# display settings are the defaults).
#
#   tests/kde/run-kde-tests.sh BUILD_DIR
#
# BUILD_DIR holds gridlook, the KIO plug-in, tests/kde/gridlook-preview-check
# and tests/qt/screen_check.
set -eu
cd "$(dirname "$0")/../.."
. tests/support/end-to-end.sh
[ $# -eq 1 ] || { echo "usage: tests/kde/run-kde-tests.sh BUILD_DIR" >&2; exit 2; }
build=$(cd "$1" && pwd)
preview_check=$build/tests/kde/gridlook-preview-check
screen_check=$build/tests/qt/screen_check
for file in "$build/gridlook" "$preview_check" "$screen_check"; do
    [ -f "$file" ] || { echo "run-kde-tests.sh: $file is not built" >&2; exit 2; }
done
results=$build/kde-e2e
rm -rf "$results"
mkdir -p "$results"

work=$(mktemp -d /tmp/gridlook-kde-XXXXXX)
xvfb=""
dolphin=""
finish() {
    status=$?
    [ -z "$dolphin" ] || stop "$dolphin"
    [ -z "$xvfb" ] || stop "$xvfb"
    if [ "$status" -ne 0 ]; then
        echo "run-kde-tests.sh: failed; what it kept is in $results; Dolphin's output ends:" >&2
        tail -n 20 "$work/dolphin.log" >&2 2>/dev/null || true
    fi
    rm -rf "$work"
    exit "$status"
}
trap finish EXIT
trap 'exit 1' INT TERM HUP
started=$(date +%s)

echo "== KDE: KIO's preview job and Dolphin"

prefix=$work/prefix
cmake --install "$build" --prefix "$prefix" --component command >/dev/null
cmake --install "$build" --prefix "$prefix" --component kde >/dev/null
plugins=$(dirname "$(dirname "$(dirname "$(find "$prefix" -name gridlook-thumbnail.so)")")")
# The MIME database as the installed package leaves it: the system's types and
# ours in one. Qt reads every folder's database and, where two give a type by
# contents, takes the later folder's, so the prefix comes last.
cp /usr/share/mime/packages/*.xml "$prefix/share/mime/packages/"
XDG_DATA_DIRS="$prefix/share" update-mime-database "$prefix/share/mime"

# Every example of a type of ours (webpbn XML as .pbn; the Olšák puzzle in two
# colours and the .mk puzzle have none), and files with a puzzle extension but
# other contents.
puzzles=$work/puzzles
mkdir -p "$puzzles"
for example in examples/*; do
    case "$example" in
        *.py | *.xml | *.mk | */anchor.g) ;;
        *) cp "$example" "$puzzles/" ;;
    esac
done
cp examples/tulip.xml "$puzzles/tulip.pbn"
for extension in tgr non tgp; do
    printf 'A note about puzzles, not a puzzle.\n' >"$puzzles/foreign.$extension"
done

mkdir -p "$work/home" "$work/config" "$work/cache" "$work/data" "$work/wine" "$work/runtime"
chmod 700 "$work/runtime"
in_session() {
    env -u XDG_CURRENT_DESKTOP -u DBUS_SESSION_BUS_ADDRESS -u KDE_FULL_SESSION -u KDE_SESSION_VERSION \
        HOME="$work/home" XDG_CONFIG_HOME="$work/config" XDG_CACHE_HOME="$work/cache" \
        XDG_DATA_HOME="$work/data" XDG_RUNTIME_DIR="$work/runtime" WINEPREFIX="$work/wine" \
        XDG_DATA_DIRS="/usr/local/share:/usr/share:$prefix/share" QT_PLUGIN_PATH="$plugins" "$@"
}

for size in 128 256; do
    mkdir -p "$results/expected-$size"
    for file in "$puzzles"/*; do
        case "$file" in */foreign.*) continue ;; esac
        in_session "$prefix/bin/gridlook" thumbnail -s "$size" "$file" "$results/expected-$size/$(basename "$file").png"
    done
done

for size in 128 256; do
    echo "-- KIO's preview job at $size pixels"
    begun=$(date +%s%N)
    in_session env QT_QPA_PLATFORM=offscreen "$preview_check" "$size" "$results/expected-$size" "$puzzles"/* ||
        fail "the preview job's thumbnails at $size pixels are not gridlook's"
    count=$(ls "$puzzles" | wc -l)
    step "$count previews at $size pixels, $((($(date +%s%N) - begun) / 1000000 / count)) ms each with a new worker"
done

echo "-- Dolphin, icon view, previews of 256 pixels"
# The cache holds the preview job's thumbnails: Dolphin makes its own.
rm -rf "$work/cache"
mkdir -p "$work/cache"
cat >"$work/config/dolphinrc" <<EOF
[General]
GlobalViewProps=true
RememberOpenedTabs=false
ShowFullPath=true
EnlargeSmallPreviews=false

[IconsMode]
PreviewSize=256
TextWidthIndex=2
EOF
mkdir -p "$work/data/dolphin/view_properties/global"
cat >"$work/data/dolphin/view_properties/global/.directory" <<EOF
[Dolphin]
PreviewsShown=true
ViewMode=0
Version=4
EOF
display=:$(($$ % 400 + 200))
Xvfb "$display" -screen 0 2560x1440x24 -nolisten tcp >"$work/xvfb.log" 2>&1 &
xvfb=$!
x_is_up() {
    DISPLAY=$display xdotool getdisplaygeometry >/dev/null 2>&1
}
poll 15 x_is_up || fail "the X server does not start"
in_session env DISPLAY="$display" QT_QPA_PLATFORM=xcb dolphin -qwindowgeometry 2560x1440+0+0 "$puzzles" \
    >"$work/dolphin.log" 2>&1 &
dolphin=$!
has_window() {
    [ -n "$(DISPLAY=$display xdotool search --onlyvisible --class dolphin 2>/dev/null | head -n 1)" ]
}
poll 60 has_window || fail "Dolphin shows no window"
step "Dolphin is up"

# Every puzzle's thumbnail stands once in the window, whole and pixel for pixel.
shown_whole() { # THUMBNAIL
    found=$("$screen_check" shows "$results/dolphin.png" "$1" 0 2>"$work/check.log") || return 1
    read -r x y width height pixels <<EOF
$found
EOF
    [ "$width x $height" = "$(identify -format '%w x %h' "$1")" ]
}
shows_all() {
    DISPLAY=$display import -window root "$results/dolphin.png" 2>/dev/null || return 1
    for expected in "$results"/expected-256/*.png; do
        shown_whole "$expected" || return 1
    done
}
poll 60 shows_all || {
    for expected in "$results"/expected-256/*.png; do
        shown_whole "$expected" || echo "  FAILED  $(basename "$expected" .png): $(cat "$work/check.log") $found"
    done
    fail "Dolphin does not show every puzzle's thumbnail as gridlook thumbnail makes it"
}
for expected in "$results"/expected-256/*.png; do
    shown_whole "$expected"
    echo "  ok      $(basename "$expected" .png): $width x $height at $x, $y, pixel for pixel"
done
step "Dolphin showed every thumbnail"
