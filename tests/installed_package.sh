#!/usr/bin/env bash
# The Debian package as a user gets it: built with CPack from BUILD_DIR,
# passed by the standard checkers, installed (with dpkg when root in CI, else
# unpacked into a folder of its own) and run there, far from the source tree:
# its help and manual page agree, a batch job on the examples makes every
# work, and the window starts in Japanese under Xvfb.
# Usage: installed_package.sh BUILD_DIR SOURCE_DIR. Exits 77 (skipped) when
# a tool it needs is missing.
set -euo pipefail
build=$(realpath "$1")
source=$(realpath "$2")

for tool in cpack dpkg-deb dpkg-shlibdeps lintian desktop-file-validate appstreamcli man \
    Xvfb xwininfo fc-list; do
    if ! command -v "$tool" > /dev/null; then
        echo "SKIP: $tool is not installed (scripts/test.sh installs it)"
        exit 77
    fi
done

tmp=$(mktemp -d)
pids=()
installed=no
cleanup() {
    for pid in "${pids[@]}"; do kill "$pid" 2> /dev/null || true; done
    if [ "$installed" = yes ]; then dpkg -r korvane > /dev/null || true; fi
    rm -rf "$tmp"
}
trap cleanup EXIT
fail() {
    echo "FAIL: $*"
    exit 1
}
ok() { echo "ok: $*"; }

(cd "$build" && cpack -G DEB -B "$tmp/package" > "$tmp/cpack.log") || {
    cat "$tmp/cpack.log"
    fail "cpack"
}
deb=$(ls "$tmp"/package/korvane_*.deb)

# The checkers, each on what it checks.
lintian --allow-root --fail-on error "$deb" || fail "lintian found errors"
ok "lintian: no errors"
dpkg-deb -x "$deb" "$tmp/unpacked"
share="$tmp/unpacked/usr/share"
desktop-file-validate "$share/applications/korvane.desktop" || fail "desktop-file-validate"
appstreamcli validate --no-net "$share"/metainfo/*.xml > "$tmp/appstream.log" || {
    cat "$tmp/appstream.log"
    fail "appstreamcli validate"
}
man --warnings -l "$share/man/man1/korvane.1.gz" 2> "$tmp/man.log" > /dev/null
[ ! -s "$tmp/man.log" ] || fail "man --warnings: $(cat "$tmp/man.log")"
ok "desktop entry, AppStream data and manual page validate"
for size in 16x16 32x32 48x48 64x64 128x128 256x256 scalable; do
    ls "$share/icons/hicolor/$size/apps/korvane."* > /dev/null || fail "no $size icon"
done
depends=$(dpkg-deb -f "$deb" Depends)
[[ $depends == *libqt5widgets5* && $depends == *fonts-ipafont-gothic* ]] ||
    fail "dependencies: $depends"
ok "dependencies from the libraries, and the Japanese font: $depends"

if [ "$(id -u)" -eq 0 ] && [ "${CI:-}" = true ]; then
    dpkg -i "$deb" > /dev/null || fail "dpkg -i"
    installed=yes
    korvane=/usr/bin/korvane
else
    korvane="$tmp/unpacked/usr/bin/korvane"
fi
ok "installed as $korvane"

# Every option and key of -h has its entry in the manual's options, and no
# other: options are a dash and lower-case letters, keys capitalised words
# joined by underscores.
options() { grep -oE '(^|[ ,(])--?[a-z]+|\b[A-Z][a-z]*(_[A-Za-z]+)+\b|\bINCLUDE\b' |
    sed -E 's/^[ ,(]//' | sort -u; }
"$korvane" -h > "$tmp/help.txt" || fail "korvane -h"
grep -q '^Usage: korvane' "$tmp/help.txt" || fail "korvane -h printed no usage"
options < "$tmp/help.txt" > "$tmp/help.options"
zcat "$share/man/man1/korvane.1.gz" | sed -n '/^\.SH OPTIONS/,/^\.SH EXIT/p' |
    grep -E '^\.(B|BI|BR) ' | sed 's/\\-/-/g' | options > "$tmp/man.options"
diff "$tmp/help.options" "$tmp/man.options" ||
    fail "the manual's options differ from -h (< -h, > man)"
ok "the manual lists the $(wc -l < "$tmp/help.options") options and keys of -h"

# A batch job far from the source tree.
cp -r "$source/examples" "$tmp/night"
cd "$tmp/night"
"$korvane" -e -wud 0 -wut 0 -files ./*.dat ./*.qd -ldp dataProps-filled.csv -gw works \
    2> "$tmp/batch.log" || fail "batch job: $(cat "$tmp/batch.log")"
# The filled data properties leave one of the seven files without a work.
works=$(find works -mindepth 2 -name '*.png' | wc -l)
[ "$works" -eq 6 ] && [ -s works/index.html ] && [ -s works/catalogue.html ] ||
    fail "batch job made $works works: $(cat "$tmp/batch.log")"
ok "batch job: 6 works, index.html and catalogue.html"

# The window in Japanese: its title is translated ("korvane"; English
# "yml generator"), so the translation was found; a Japanese font is there
# to draw it.
[ -n "$(fc-list :lang=ja)" ] || fail "no Japanese font"
exec {xvfb_fd}< <(Xvfb -displayfd 1 -nolisten tcp -screen 0 1280x1024x24 2> /dev/null)
pids+=($!)
read -r -t 30 -u "$xvfb_fd" display || fail "Xvfb did not start"
env -u LANGUAGE LANG=ja_JP.UTF-8 DISPLAY=":$display" QT_QPA_PLATFORM=xcb \
    QT_XCB_GL_INTEGRATION=none XDG_CONFIG_HOME="$tmp/config" \
    "$korvane" -d Cu_foil_K_001.dat > "$tmp/window.log" 2>&1 &
pids+=($!)
for _ in $(seq 300); do
    # The main window, not Qt's 1x1 leader window that bears the program's
    # name too: it alone has a class.
    if DISPLAY=":$display" xwininfo -root -tree 2> /dev/null |
        grep -qF '"korvane": ("korvane" "korvane")'; then
        ok "the window started in Japanese"
        exit 0
    fi
    kill -0 "${pids[-1]}" 2> /dev/null || break
    sleep 0.1
done
fail "no Japanese window: $(tail -5 "$tmp/window.log")"
