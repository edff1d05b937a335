#!/usr/bin/env bash
# Set-up for a fresh Debian 12 machine (run as root): installs what is missing, builds, then
#   run   starts the editor (arguments after run go to it, e.g. a project file)
#   test  runs every test (ctest starts and stops the JACK server the MIDI tests need and the
#         X server of the window test), then builds the Debian package, installs it and checks it
set -euo pipefail
cd "$(dirname "$0")/.."

# dpkg-dev and file: cpack's dependency scan; shared-mime-info, xdg-utils, libfile-mimeinfo-perl
# (xdg-mime's type lookup outside a desktop session) and desktop-file-utils: the package checks.
# at-spi2-core, dbus-x11 and python3-pyatspi: the editor read through the accessibility bus.
packages=(cmake ninja-build g++ pkg-config qt6-base-dev librtmidi-dev jackd2 libjack-jackd2-dev
          libgl-dev xvfb xauth xdotool imagemagick clang dpkg-dev file shared-mime-info
          xdg-utils libfile-mimeinfo-perl desktop-file-utils at-spi2-core dbus-x11
          python3-pyatspi)
missing=()
for p in "${packages[@]}"; do
    dpkg-query -W -f='${Status}' "$p" 2>/dev/null | grep -q "ok installed" || missing+=("$p")
done
if [ ${#missing[@]} -gt 0 ]; then
    echo "Installing: ${missing[*]}"
    export DEBIAN_FRONTEND=noninteractive
    apt-get update -qq
    apt-get install -y -qq --no-install-recommends "${missing[@]}"
fi

build=${QUENLEY_BUILD_DIR:-build}
cmake -S . -B "$build" -G Ninja -DCMAKE_BUILD_TYPE=RelWithDebInfo
cmake --build "$build" --parallel

case "${1:-run}" in
run)
    shift || true
    exec "$build/app/quenley" "$@"
    ;;
test)
    (cd "$build" && ctest --output-on-failure --timeout 600)
    bash tools/check-package.sh "$build"
    ;;
*)
    echo "usage: $0 [run|test]" >&2
    exit 2
    ;;
esac
