#!/usr/bin/env bash
# Checks of the desktop integration files in dist/linux and of what `cmake --install` puts where.
#   check-dist.sh mime    DIST_DIR WORK
#   check-dist.sh desktop DIST_DIR
#   check-dist.sh install BUILD_DIR WORK [ICON.png...]
# A check whose tool is not installed prints SKIP and passes as skipped.
set -euo pipefail
fail() { echo "FAIL: $*" >&2; exit 1; }
skip_without() { command -v "$1" >/dev/null || { echo "SKIP: $1 is not installed"; exit 0; }; }
type=application/x-quenley-project
check=$1

case $check in
mime)
    skip_without update-mime-database
    dist=$2 work=$3
    rm -rf "$work" && mkdir -p "$work/mime/packages"
    cp "$dist/quenley.xml" "$work/mime/packages/"
    # update-mime-database reports a malformed file on stderr and goes on: any word from it fails.
    XDG_DATA_HOME="$work" XDG_DATA_DIRS="$work" update-mime-database "$work/mime" 2>"$work/err"
    [ ! -s "$work/err" ] || fail "update-mime-database: $(cat "$work/err")"
    grep -qx "50:$type:\*\.qly" "$work/mime/globs2" || fail "no *.qly glob for $type in globs2"
    grep -qx "$type" "$work/mime/types" || fail "$type is not among the known types"
    grep -q '<comment>Quenley Project</comment>' "$work/mime/${type}.xml" ||
        fail "$type has no comment \"Quenley Project\""
    # Without a header the type must not claim files by content.
    [ ! -s "$work/mime/magic" ] || ! grep -aq "$type" "$work/mime/magic" ||
        fail "$type has a magic rule"
    ;;
desktop)
    skip_without desktop-file-validate
    dist=$2
    desktop-file-validate "$dist/quenley.desktop" || fail "desktop-file-validate"
    grep -qx 'Exec=quenley %f' "$dist/quenley.desktop" || fail "Exec is not 'quenley %f'"
    grep -qx 'Icon=quenley' "$dist/quenley.desktop" || fail "Icon is not 'quenley'"
    # The launcher must offer itself for the very type the MIME file defines.
    defined=$(sed -n 's/.*<mime-type type="\([^"]*\)".*/\1/p' "$dist/quenley.xml")
    [ "$defined" = "$type" ] || fail "quenley.xml defines '$defined'"
    grep -qx "MimeType=$defined;" "$dist/quenley.desktop" || fail "MimeType does not name $defined"
    ;;
install)
    build=$2 work=$3
    shift 3
    rm -rf "$work"
    DESTDIR="$work" cmake --install "$build" --prefix /usr >"$work.log" || fail "cmake --install"
    for f in usr/bin/quenley usr/bin/quenley-cli; do
        [ -x "$work/$f" ] || fail "$f is not installed as a program"
    done
    for f in usr/share/applications/quenley.desktop usr/share/mime/packages/quenley.xml; do
        [ -s "$work/$f" ] || fail "$f is not installed"
    done
    expected=0
    for icon in "$@"; do
        size=$(basename "$icon" .png)
        cmp -s "$icon" "$work/usr/share/icons/hicolor/${size}x${size}/apps/quenley.png" ||
            fail "icon $icon is not installed as the ${size}x${size} quenley.png"
        expected=$((expected + 1))
    done
    found=0
    if [ -d "$work/usr/share/icons" ]; then
        found=$(find "$work/usr/share/icons" -name quenley.png | wc -l)
    fi
    [ "$found" -eq "$expected" ] || fail "$found icons installed, $expected listed"
    "$work/usr/bin/quenley-cli" --help | grep -q "Usage: " || fail "installed quenley-cli --help"
    ;;
*)
    echo "usage: $0 mime|desktop|install ..." >&2
    exit 2
    ;;
esac
echo "ok: $check"
