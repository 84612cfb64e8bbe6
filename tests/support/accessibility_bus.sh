#!/usr/bin/env bash
# Runs a command where assistive technology sees it as a screen reader on a desktop does: a
# private D-Bus session, the AT-SPI bus started by its launcher, a virtual X display, and Qt's
# X platform with its AT-SPI bridge on. Exits 77 (skipped), saying why, when that bus cannot be
# started here; otherwise with the command's exit code.
#   tests/support/accessibility_bus.sh COMMAND [ARGUMENT]...
# Debian: dbus, dbus-bin, at-spi2-core, xvfb.
set -euo pipefail

launcher=/usr/libexec/at-spi-bus-launcher

skip() {
  echo "accessibility bus: $*; the test is skipped" >&2
  exit 77
}

if [ -z "${CUENTAS_A11Y_BUS_INSIDE:-}" ]; then
  for tool in dbus-run-session dbus-send Xvfb; do
    command -v "$tool" >/dev/null || skip "$tool is not installed"
  done
  [ -x "$launcher" ] || skip "$launcher (at-spi2-core) is not installed"
  # Xvfb chooses a free display itself and writes its number once it accepts connections:
  # runs started together (ctest -j) never race for one number, as a number chosen ahead
  # would. It never resets, as a desktop's server never does while its session lasts: a
  # server resets when its last client leaves (the bus launcher, once it has set its
  # property), and refuses connections meanwhile. The server is waited for on the way out.
  numberFile=$(mktemp)
  Xvfb -displayfd 3 -noreset -screen 0 1024x768x24 -nolisten tcp 3>"$numberFile" 2>/dev/null &
  xvfb_pid=$!
  trap 'kill "$xvfb_pid" 2>/dev/null || true; wait "$xvfb_pid" 2>/dev/null || true; rm -f "$numberFile"' EXIT
  for _ in $(seq 100); do
    [ -s "$numberFile" ] && break
    kill -0 "$xvfb_pid" 2>/dev/null || skip "Xvfb ended at once"
    sleep 0.1
  done
  [ -s "$numberFile" ] || skip "Xvfb did not take a display within 10 seconds"
  export DISPLAY=":$(head -n 1 "$numberFile")" CUENTAS_A11Y_BUS_INSIDE=1
  status=0
  dbus-run-session -- "$0" "$@" || status=$?
  exit "$status"
fi

"$launcher" --launch-immediately &
launcher_pid=$!
trap 'kill "$launcher_pid" 2>/dev/null || true; wait "$launcher_pid" 2>/dev/null || true' EXIT

bus_up() {
  dbus-send --session --print-reply --dest=org.freedesktop.DBus /org/freedesktop/DBus \
    org.freedesktop.DBus.NameHasOwner string:org.a11y.Bus 2>/dev/null | grep -q "boolean true"
}
for _ in $(seq 100); do
  bus_up && break
  kill -0 "$launcher_pid" 2>/dev/null || skip "the AT-SPI bus launcher ended at once"
  sleep 0.1
done
bus_up || skip "the AT-SPI bus launcher did not answer within 10 seconds"

export QT_QPA_PLATFORM=xcb QT_LINUX_ACCESSIBILITY_ALWAYS_ON=1
status=0
"$@" || status=$?
exit "$status"
