#!/usr/bin/env bash
# Takes a picture of the real Windows dialog, cuentas.exe of the cross build under Wine's X11
# driver and Xvfb, after a clerk has typed a bank code (49 unless given), branch 1 and account
# 77; it goes to docs/cuentas-dialog-windows.png unless another file is given. Wine's desktop
# window draws the caption bar, so no window manager is needed.
#   tools/screenshot-windows.sh [BANK [PICTURE]]
#   (needs: the cross build in build-windows/, and apt-get install xvfb xdotool x11-apps
#   imagemagick)
set -euo pipefail
top="$(cd "$(dirname "${BASH_SOURCE[0]}")/.." && pwd)"
bank="${1:-49}"
picture="$(realpath -m "${2:-$top/docs/cuentas-dialog-windows.png}")"
prefix="$top/build-windows/wine-x11"
if [ -z "${CUENTAS_SCREENSHOT_INNER:-}" ]; then
  layout="$(mktemp -d)"
  trap 'WINEPREFIX="$prefix" /usr/lib/wine/wineserver -k 2>/dev/null || true; rm -rf "$layout"' EXIT
  mkdir -p "$layout/bin" "$layout/tmp"
  cp "$top/build-windows/app/cuentas.exe" "$layout/bin/cuentas.exe"
  cp "$top/build-windows/data/NomBancos.dbf" "$layout/"
  CUENTAS_SCREENSHOT_INNER="$layout" xvfb-run -a -s "-screen 0 1024x768x24" "$0" "$bank" "$picture"
  exit
fi
cd "$CUENTAS_SCREENSHOT_INNER"
"$top/tools/wine-run" --x11 "$prefix" explorer /desktop=cuentas-shot,1024x768 'bin\cuentas.exe' \
  </dev/null >/dev/null 2>&1 &
for _ in $(seq 1 300); do
  xdotool search --name "lculo d" >/dev/null 2>&1 && break
  sleep 0.1
done
sleep 1
xdotool type --delay 50 "$bank"; xdotool key Tab; xdotool type --delay 50 "1"; xdotool key Tab
xdotool type --delay 50 "77"; xdotool key Tab
sleep 1
# The dialog is centred on Wine's desktop: its 489 x 207 frame around the 483 x 182 client
# area, with a margin.
xwd -root -silent > shot.xwd
/usr/bin/convert xwd:shot.xwd -crop 513x231+255+268 +repage "$picture"
xdotool key Escape
sleep 1
