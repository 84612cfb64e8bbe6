#!/usr/bin/env bash
# Runs a command where assistive technology sees it as a screen reader on a desktop does: a
# private D-Bus session, the AT-SPI bus started by its launcher, a virtual X display, and Qt's
# X platform with its AT-SPI bridge on. Exits 77 (skipped), saying why, when that bus cannot be
# started here; otherwise with the command's exit code.
#   tests/support/accessibility_bus.sh COMMAND [ARGUMENT]...
# Debian: dbus, dbus-bin, at-spi2-core, xvfb, xauth.
set -euo pipefail

launcher=/usr/libexec/at-spi-bus-launcher

skip() {
  echo "accessibility bus: $*; the test is skipped" >&2
  exit 77
}

if [ -z "${CUENTAS_A11Y_BUS_INSIDE:-}" ]; then
  for tool in dbus-run-session dbus-send xvfb-run Xvfb; do
    command -v "$tool" >/dev/null || skip "$tool is not installed"
  done
  [ -x "$launcher" ] || skip "$launcher (at-spi2-core) is not installed"
  export CUENTAS_A11Y_BUS_INSIDE=1
  # Display numbers from one of our own, so that runs started together (ctest -j, other
  # xvfb-run users) do not race for the same free number.
  exec xvfb-run -a -n $((100 + $$ % 800)) -s "-screen 0 1024x768x24" \
    dbus-run-session -- "$0" "$@"
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
