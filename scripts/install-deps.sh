#!/usr/bin/env bash
# Installs what building, running and testing the TK700 utility needs on Debian 12 / Ubuntu.
# Idempotent: packages already present are left alone, apt is only asked for what is missing.
set -euo pipefail

build_pkgs=(cmake ninja-build g++ pkg-config
  qt6-base-dev qt6-declarative-dev qt6-declarative-dev-tools qt6-svg-dev qt6-tools-dev-tools
  qml6-module-qtquick qml6-module-qtqml-workerscript qml6-module-qtquick-window
  qml6-module-qtquick-controls qml6-module-qtquick-layouts qml6-module-qtquick-templates
  qml6-module-qttest qml6-module-qtqml-models
  libqt6svg6 libhidapi-dev libudev-dev libxtst-dev libx11-dev libxcb1-dev libglib2.0-dev
  gsettings-desktop-schemas
  fonts-wqy-microhei fonts-dejavu-core
  # The package target: dpkg-shlibdeps (dpkg-dev) and file, with which CPack finds the binaries.
  dpkg-dev file)
# lintian and appstream (appstreamcli): the package test checks the package and its AppStream
# metadata with them; dbus-daemon: a private session bus for the test of KWin's input devices
# and for the screen-reader test, which reads the program through AT-SPI (python3-pyatspi,
# at-spi2-core);
# weston and qt6-wayland: the program on a headless Wayland compositor; clang and its runtime
# libraries build the fuzz targets (-fsanitize=fuzzer, bench/fuzz.sh); openbox: a window manager
# that keeps _NET_ACTIVE_WINDOW, for the per-application profiles under Xvfb.
test_pkgs=(xvfb xauth x11-utils xdotool openbox trayer imagemagick python3 lintian appstream
  dbus-daemon python3-pyatspi at-spi2-core
  weston qt6-wayland clang-14 libclang-rt-14-dev)
# scripts/tidy.sh and the formatting of the sources.
tidy_pkgs=(clang-tidy-14 clang-format-14)

want=("${build_pkgs[@]}")
[ "${1:-}" = "--with-tests" ] && want+=("${test_pkgs[@]}")
[ "${1:-}" = "--run" ] && want+=(xvfb xauth)
[ "${1:-}" = "--with-tidy" ] && want+=("${tidy_pkgs[@]}")

missing=()
for p in "${want[@]}"; do
  dpkg-query -W -f='${Status}' "$p" 2>/dev/null | grep -q "install ok installed" || missing+=("$p")
done
[ ${#missing[@]} -eq 0 ] && exit 0

SUDO=""
[ "$(id -u)" -ne 0 ] && SUDO="sudo"
echo "Installing: ${missing[*]}"
$SUDO apt-get update -qq
DEBIAN_FRONTEND=noninteractive $SUDO apt-get install -y -qq --no-install-recommends "${missing[@]}"
