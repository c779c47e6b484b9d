#!/usr/bin/env bash
# Installs what is missing, builds, and starts the TK700 utility: against the mouse when one is
# attached, otherwise against the virtual TK700.
set -euo pipefail
cd "$(dirname "$0")/.."

bash scripts/install-deps.sh --run
# tk700ctl too: the README's command-line section uses build/bin/tk700ctl.
bash scripts/build.sh tk700 tk700ctl tk700-sim tk700-hidapi-sim tk700_udev_rule

if [ -z "${DISPLAY:-}" ] && [ -z "${WAYLAND_DISPLAY:-}" ]; then
  cat >&2 <<'MSG'
No display found. The TK700 utility is a desktop program: start this command from a desktop
session, or give it a virtual display with
    xvfb-run -a bash scripts/run.sh
MSG
  exit 1
fi

bin="$PWD/build/bin"
SUDO=""
[ "$(id -u)" -ne 0 ] && SUDO="sudo"
# Written by the build from the device table: one line per model.
rule=build/udev/70-tk700.rules
rules=/etc/udev/rules.d/70-tk700.rules
if [ -d /etc/udev ] && ! cmp -s "$rule" "$rules" 2>/dev/null; then
  echo "Installing $rules so the mouse can be used without root"
  if $SUDO install -D -m 0644 "$rule" "$rules"; then
    $SUDO udevadm control --reload-rules 2>/dev/null || true
    $SUDO udevadm trigger --subsystem-match=hidraw 2>/dev/null || true
  else
    echo "Could not install $rules: a real mouse may then need root to be used" >&2
  fi
fi

# Every model of the rule (vendor:product), as the kernel names HID devices: BUS:VVVV:PPPP.N
models=$(sed -n 's/.*idVendor}=="\([0-9a-f]*\)".*idProduct}=="\([0-9a-f]*\)".*/\1:\2/p' "$rule")
for model in $models; do
  if ls /sys/bus/hid/devices 2>/dev/null | grep -qi ":${model}\."; then
    echo "TK700 ($model) found: starting the utility"
    exec "$bin/tk700"
  fi
done

echo "No TK700 attached: starting the virtual TK700 and the utility against it"
socket="${XDG_RUNTIME_DIR:-/tmp}/tk700-sim-run-$(id -u).sock"
"$bin/tk700-sim" serve --socket "$socket" > /dev/null &
sim=$!
trap 'kill $sim 2>/dev/null || true' EXIT
for _ in $(seq 50); do [ -S "$socket" ] && break; sleep 0.1; done
echo "Drive the virtual mouse from another terminal with: $bin/tk700-sim ctl --socket $socket <command>"
# udev never sees the virtual mouse: the program compares the enumeration to notice its plugs.
TK700_SIM_SOCKET="$socket" TK700_POLL_DEVICES=1 LD_PRELOAD="$bin/libtk700-hidapi.so" "$bin/tk700"
