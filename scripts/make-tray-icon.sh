#!/usr/bin/env bash
# Makes modules/img/logo.ico, the tray icon the program loads, from modules/img/trayIcon.svg with
# Qt's SVG renderer (the tool is built in ./build). Run it after changing the drawing and commit
# both files.
set -euo pipefail
cd "$(dirname "$0")/.."
bash scripts/build.sh tk700-svgtool
QT_QPA_PLATFORM=offscreen build/bin/tk700-svgtool ico modules/img/trayIcon.svg modules/img/logo.ico
echo "modules/img/logo.ico made from modules/img/trayIcon.svg"
