#!/usr/bin/env bash
# Takes a picture of the real window under Xvfb, with a window manager for its title bar, after
# a clerk has typed a bank code (49 unless given), branch 1 and account 77; it goes to
# docs/cuentas-dialog.png unless another file is given.
#   tools/screenshot.sh [BANK [PICTURE]]
#   (needs: apt-get install xvfb openbox xdotool x11-apps imagemagick)
set -euo pipefail
top="$(cd "$(dirname "${BASH_SOURCE[0]}")/.." && pwd)"
bank="${1:-49}"
picture="$(realpath -m "${2:-$top/docs/cuentas-dialog.png}")"
if [ -z "${CUENTAS_SCREENSHOT_INNER:-}" ]; then
  layout="$(mktemp -d)"
  trap 'rm -rf "$layout"' EXIT
  mkdir -p "$layout/bin" "$layout/tmp"
  cp "$top/build/app/cuentas" "$layout/bin/cuentas"
  cp "$top/build/data/NomBancos.dbf" "$layout/"
  CUENTAS_SCREENSHOT_INNER="$layout" xvfb-run -a -s "-noreset -screen 0 800x500x24" "$0" "$bank" "$picture"
  exit
fi
cd "$CUENTAS_SCREENSHOT_INNER"
openbox >/dev/null 2>&1 &
sleep 1
bin/cuentas &
pid=$!
sleep 2
xdotool type "$bank"; xdotool key Tab; xdotool type "1"; xdotool key Tab; xdotool type "77"; xdotool key Tab
sleep 0.7
window=$(xdotool search --name "lculo" | head -1)
eval "$(xdotool getwindowgeometry --shell "$window")"
xwd -root -silent > shot.xwd
/usr/bin/convert xwd:shot.xwd -crop $((WIDTH + 24))x$((HEIGHT + 60))+$((X - 12))+$((Y - 44)) +repage \
  "$picture"
kill $pid
