#!/usr/bin/env bash
# The real cuentas.exe as a clerk uses it, under Xvfb and Wine's X11 driver: a layout with the
# program in bin\ and NomBancos.dbf and tmp\ beside that folder, the dialog started in Wine's
# desktop window (which draws the caption bar without a window manager), bank 49, branch 1 and
# account 77 typed with xdotool, Tab to "Grabar" and Enter; tmp\xtras.ini must hold exactly
# the bytes the Linux build writes for the same road.
#   tests/app/windows_end_to_end.sh CUENTAS_EXE NOMBANCOS_DBF PREFIX
# PREFIX is a Wine prefix of its own (made on first use, kept for later runs). Exit 77 when
# Xvfb or xdotool is missing.
set -euo pipefail
program="$(realpath "$1")"
table="$(realpath "$2")"
prefix="$3"
here="$(cd "$(dirname "${BASH_SOURCE[0]}")" && pwd)"
wine_run="$here/../../tools/wine-run"
command -v xvfb-run >/dev/null && command -v xdotool >/dev/null || exit 77

if [ -z "${CUENTAS_END_TO_END_INNER:-}" ]; then
  layout="$(mktemp -d)"
  trap 'WINEPREFIX="$(realpath -m "$prefix")" /usr/lib/wine/wineserver -k 2>/dev/null || true; rm -rf "$layout"' EXIT
  mkdir -p "$layout/bin" "$layout/tmp"
  cp "$program" "$layout/bin/cuentas.exe"
  cp "$table" "$layout/NomBancos.dbf"
  CUENTAS_END_TO_END_INNER="$layout" xvfb-run -a -s "-screen 0 1024x768x24" "$0" "$@"
  exit
fi

layout="$CUENTAS_END_TO_END_INNER"
cd "$layout"
# The desktop window's name keeps the test's dialog apart from any other.
"$wine_run" --x11 "$prefix" explorer /desktop=cuentas-e2e,1024x768 'bin\cuentas.exe' \
  </dev/null >/dev/null 2>&1 &
runner=$!
window=""
for _ in $(seq 1 300); do
  window="$(xdotool search --name "lculo d" 2>/dev/null | head -1 || true)"
  [ -n "$window" ] && break
  sleep 0.1
done
if [ -z "$window" ]; then
  echo "the dialog did not appear" >&2
  exit 1
fi
sleep 0.5
xdotool type --delay 50 "49"
xdotool key Tab
xdotool type --delay 50 "1"
xdotool key Tab
xdotool type --delay 50 "77"
xdotool key Tab Return
for _ in $(seq 1 100); do
  kill -0 "$runner" 2>/dev/null || break
  sleep 0.1
done
if kill -0 "$runner" 2>/dev/null; then
  echo "the dialog did not close on Grabar" >&2
  exit 1
fi
expected="$(printf 'BANCO=Banco Santander, S.A.\r\n20DIGITOS=00490001530000000077')"
if [ ! -f tmp/xtras.ini ]; then
  echo "no tmp/xtras.ini was written" >&2
  exit 1
fi
if [ "$(cat tmp/xtras.ini; printf x)" != "${expected}x" ]; then
  echo "tmp/xtras.ini holds:" >&2
  od -c tmp/xtras.ini >&2
  exit 1
fi
echo "tmp\\xtras.ini holds the $(wc -c < tmp/xtras.ini) bytes the Linux build writes"
