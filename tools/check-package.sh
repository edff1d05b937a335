#!/usr/bin/env bash
# Builds the Debian package from a build tree, installs it and checks it as a user's system sees
# it: the installed programs start, and a .qly file is known as a Quenley project. Installing
# needs root; otherwise the package is built and looked into only.
# Usage: tools/check-package.sh [BUILD_DIR]
set -euo pipefail
root=$(cd "$(dirname "$0")/.." && pwd)
build=$(cd "${1:-build}" && pwd)
fail() { echo "package check FAILED: $*" >&2; exit 1; }
type=application/x-quenley-project

cd "$build"
rm -f quenley_*.deb
cpack -G DEB >cpack.log 2>&1 || { cat cpack.log >&2; fail "cpack -G DEB"; }
debs=(quenley_*.deb)
[ ${#debs[@]} -eq 1 ] && [ -f "${debs[0]}" ] || fail "no single quenley_*.deb was made"
deb=${debs[0]}

[ "$(dpkg-deb -f "$deb" Section)" = sound ] || fail "section is not sound"
depends=$(dpkg-deb -f "$deb" Depends)
for lib in libqt6widgets6 librtmidi libc6; do
    [[ $depends == *"$lib"* ]] || fail "Depends lacks $lib: $depends"
done
contents=$(dpkg-deb -c "$deb")
for f in usr/bin/quenley usr/bin/quenley-cli usr/share/applications/quenley.desktop \
         usr/share/mime/packages/quenley.xml; do
    grep -q " \./$f$" <<<"$contents" || fail "$f is not in the package"
done

if [ "$(id -u)" -ne 0 ]; then
    echo "package: $build/$deb built; not installed (that needs root)"
    exit 0
fi
export DEBIAN_FRONTEND=noninteractive
apt-get install -y -qq --no-install-recommends "./$deb" >apt.log 2>&1 ||
    { cat apt.log >&2; fail "apt-get install ./$deb"; }
dpkg-query -W -f='${Status}' quenley | grep -q "install ok installed" || fail "not installed"

help=$(/usr/bin/quenley-cli --help) || fail "quenley-cli --help"
[[ $help == "Usage: quenley-cli "* ]] || fail "quenley-cli --help says: $help"
# The editor loads its libraries and its platform plugin and reads its command line.
help=$(QT_QPA_PLATFORM=offscreen /usr/bin/quenley --help 2>/dev/null) || fail "quenley --help"
[[ $help == *"A project file (.qly) to open."* ]] || fail "quenley --help says: $help"

work=$(mktemp -d)
trap 'rm -rf "$work"' EXIT
/usr/bin/quenley-cli from-json "$root/tests/data/cli/project.json" "$work/drums.qly" >/dev/null ||
    fail "the installed quenley-cli cannot write a project"
# The package's trigger has brought the MIME database up to date; a deferred trigger is run now.
update-mime-database /usr/share/mime
found=$(xdg-mime query filetype "$work/drums.qly")
[ "$found" = "$type" ] || fail "xdg-mime calls drums.qly '$found', not $type"
echo "package: $deb installed; quenley-cli and quenley start; a .qly file is $type"
