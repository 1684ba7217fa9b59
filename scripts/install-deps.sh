#!/usr/bin/env bash
# Installs the Debian packages the project needs, skipping those already present.
#   scripts/install-deps.sh           what building and running the program needs
#   scripts/install-deps.sh --tests   also what the tests, fuzzers and benchmarks need
set -euo pipefail

packages=(cmake ninja-build g++ pkg-config libpng-dev qt6-base-dev libgl-dev
          libavformat-dev libavcodec-dev libswscale-dev libavutil-dev)
# The translations: Qt's lupdate and lrelease with their CMake functions, gettext's msgfmt (xgettext
# and msgmerge for updating), and Qt's own translations, which the player loads with its own.
packages+=(qt6-tools-dev qt6-l10n-tools gettext qt6-translations-l10n)
if [[ "${1:-}" == "--tests" ]]; then
    packages+=(libgtest-dev libgmock-dev libbenchmark-dev clang libclang-rt-14-dev clang-format
               libpixman-1-dev)
    # The package test (cpack's dpkg-shlibdeps, the desktop entry and MIME checks) and the end-to-end
    # tests on a virtual X display.
    packages+=(dpkg-dev desktop-file-utils libxml2-utils shared-mime-info
               xvfb xauth x11-utils x11-apps xdotool imagemagick)
    # The end-to-end tests under a window manager and on Wayland.
    packages+=(openbox wmctrl weston qt6-wayland)
    packages+=(fuse-emulator-utils)  # scl2trd: the packer tests convert our SCL archives with it
    # The package's lint, its manual pages as man and mandoc see them, and the completion's loader.
    packages+=(lintian man-db mandoc bash-completion)
    packages+=(locales) # the Russian locale, below
fi

missing=()
for p in "${packages[@]}"; do
    dpkg-query -W -f='${Status}' "$p" 2>/dev/null | grep -q "install ok installed" || missing+=("$p")
done
sudo=""
if [[ $(id -u) -ne 0 ]]; then
    sudo="sudo"
fi
if [[ ${#missing[@]} -ne 0 ]]; then
    echo "Installing: ${missing[*]}"
    export DEBIAN_FRONTEND=noninteractive
    $sudo apt-get update -qq
    $sudo apt-get install -y -qq --no-install-recommends "${missing[@]}"
fi

# The tests of qzmtool in Russian need the system's ru_RU.UTF-8 locale (gettext takes the language
# from the C library's locale; the player reads LANG itself).
if [[ "${1:-}" == "--tests" ]] && ! locale -a | grep -q -i -x 'ru_RU.utf-\?8'; then
    echo "Generating the ru_RU.UTF-8 locale"
    $sudo sed -i 's/^# *\(ru_RU.UTF-8 UTF-8\)$/\1/' /etc/locale.gen
    grep -q -x 'ru_RU.UTF-8 UTF-8' /etc/locale.gen || echo 'ru_RU.UTF-8 UTF-8' | $sudo tee -a /etc/locale.gen >/dev/null
    $sudo locale-gen
fi
