#!/usr/bin/env bash
# The installer as an office's administrator and a clerk use it, under Wine in a prefix of its own
# (Wine's null graphics driver): a silent install; the files where the program wants them;
# cuentas-cli.exe found by its bare name through PATH; a save through the Start-menu shortcut,
# tmp\xtras.ini compared byte for byte; the same installer run again; an installer of the same
# version and one of a newer version each replacing what is installed, an older one refused; the
# uninstall leaving only the saved file. Every msiexec log must be free of errors.
#   tests/packaging/msi_install.sh MSI PREFIX SHORTCUT_CLERK MAKE_MSI VERSION \
#     CUENTAS_EXE CUENTAS_CLI_EXE NOMBANCOS_DBF STRIP
# Then the same into another installation folder, upgraded in place. The prefix is made on first
# use and kept; what the test installs is removed again.
set -euo pipefail
msi="$(realpath "$1")"
prefix="$(realpath -m "$2")"
clerk="$(realpath "$3")"
make_msi="$4"
version="$5"
shift 5
sources=("$@") # what make-msi.sh builds an installer from, after OUTPUT and VERSION
table="$3"
here="$(cd "$(dirname "${BASH_SOURCE[0]}")" && pwd)"
wine_run="$here/../../tools/wine-run"
root="$prefix/drive_c/Program Files/Cuentas"
uninstall_key='HKLM\Software\Microsoft\Windows\CurrentVersion\Uninstall'
work="$(mktemp -d)"
failures=0

fail() {
  echo "FAIL: $*" >&2
  failures=$((failures + 1))
}
# Wine names Unix files in the locale's character set: the shortcut's accents need UTF-8.
wine() { LC_ALL=C.UTF-8 "$wine_run" "$prefix" "$@" </dev/null; }
windows_path() { printf 'Z:%s' "${1//\//\\}"; }
product_code() { msiinfo export "$1" Property | tr -d '\r' | awk -F'\t' '$1 == "ProductCode" { print $2 }'; }
registered() { wine reg query "$uninstall_key\\$1" >/dev/null 2>&1; }
environment_key='HKLM\System\CurrentControlSet\Control\Session Manager\Environment'
system_path() {
  wine reg query "$environment_key" /v PATH | tr -d '\r' | sed -n 's/^ *PATH *REG_EXPAND_SZ *//p'
}
# Wine 8 leaves the ";" before the entry behind when it removes it, and its cmd stops looking
# at an empty entry: the prefix's PATH is put back without empty entries before installing.
path_before="$(system_path | sed 's/;;*/;/g; s/;$//')"
restore_path() {
  wine reg add "$environment_key" /v PATH /t REG_EXPAND_SZ /d "$path_before" /f >/dev/null 2>&1
}
restore_path

# Whatever a failed run left installed is removed, and so is the saved file.
cleanup() {
  for package in "$msi" "$work"/*.msi; do
    [ -f "$package" ] || continue
    local code
    code="$(product_code "$package")"
    if registered "$code"; then wine msiexec /x "$code" /qn >/dev/null 2>&1 || true; fi
  done
  restore_path || true
  rm -rf "$root" "$prefix/drive_c/Oficina" "$work"
  WINEPREFIX="$prefix" /usr/lib/wine/wineserver -k 2>/dev/null || true
}
trap cleanup EXIT

# msiexec STEP STATUS ACTION PACKAGE [PROPERTY=VALUE...]: silent, with a full log. Wine gives
# msiexec's status modulo 256 (1603, a refused installation, is 67). A log of a run that should
# succeed has every action ending with 1 (done) or 0 (nothing to do), and no error (ERROR.LOG is
# a file's name).
msiexec() {
  local step="$1" expected="$2" action="$3" package="$4" status=0
  shift 4
  local log="$work/$step.log"
  wine msiexec "$action" "$(windows_path "$package")" "$@" /qn /l*v "$(windows_path "$log")" \
    >/dev/null 2>&1 || status=$?
  if [ "$status" -ne "$expected" ]; then
    fail "$step: msiexec $action ended with $status, not $expected"
  fi
  if [ "$expected" -eq 0 ]; then
    if grep -a -q -E 'Return value [2-9]' "$log" ||
      grep -a -i 'error' "$log" | grep -a -v -q 'ERROR\.LOG'; then
      fail "$step: the log reports an error:"
      grep -a -i -E 'Return value [2-9]|error' "$log" | grep -a -v 'ERROR\.LOG' >&2
    fi
  fi
}

# What is installed, as paths under the installation folder (or the one given).
installed() { (cd "${1:-$root}" 2>/dev/null && find . -mindepth 1 -printf '%P\n' | sort) || true; }
# cuentas-cli.exe by its bare name, from another folder, in a new process.
cli_through_path() {
  local answer
  answer="$(wine cmd /c 'cd /d C:\ && cuentas-cli.exe bank 49' 2>&1 | tr -d '\r' || true)"
  [ "$answer" = "0049 Banco Santander, S.A.: current, BIC BSCHESMM" ] ||
    fail "$1: cuentas-cli.exe through PATH answered: $answer"
}

# What "Grabar" writes for bank 49, branch 1 and account 77, in Windows-1252.
printf 'BANCO=Banco Santander, S.A.\r\n20DIGITOS=00490001530000000077' >"$work/xtras.ini"
saved() { cmp -s "$work/xtras.ini" "${1:-$root}/tmp/xtras.ini"; }
# save_through_shortcut STEP FOLDER WINDOWS_FOLDER: the clerk starts the dialog from the shortcut,
# which must start FOLDER's bin\cuentas.exe working in FOLDER, and saves.
save_through_shortcut() {
  local step="$1" folder="$2" windows_folder="$3" started
  if started="$(wine "$clerk" "$menu" 49 1 77 2>&1 | tr -d '\r')"; then
    [ "$started" = "$(printf '%s\n%s' "${windows_folder}bin\cuentas.exe" "$windows_folder")" ] ||
      fail "$step: the shortcut starts: $started"
    saved "$folder" || fail "$step: tmp\xtras.ini holds: $(od -c "$folder/tmp/xtras.ini" 2>&1)"
    [ ! -s "$folder/bin/ERROR.LOG" ] ||
      fail "$step: the save logged an error: $(cat "$folder/bin/ERROR.LOG")"
  else
    fail "$step: the save through the shortcut: $started"
  fi
}

# --- A silent install ---------------------------------------------------------------------------
msiexec install 0 /i "$msi"
layout="$(printf '%s\n' NomBancos.dbf bin bin/ERROR.LOG bin/cuentas-cli.exe bin/cuentas.exe tmp)"
saved_only="$(printf '%s\n' tmp tmp/xtras.ini)"
[ "$(installed)" = "$layout" ] || fail "installed: $(installed | tr '\n' ' ')"
cmp -s "$table" "$root/NomBancos.dbf" || fail "NomBancos.dbf is not the build's table"
[ -f "$root/bin/ERROR.LOG" ] && [ ! -s "$root/bin/ERROR.LOG" ] || fail "ERROR.LOG is not empty"

# Wine puts a per-machine shortcut in the user's Start menu; the log says where. Its name is read
# by the clerk (and its bytes in the tables' test), not here, where Wine's locale would show.
menu="$(grep -a -o 'Property(S): ProgramMenuFolder = .*' "$work/install.log" | head -1 |
  sed 's/.* = //; s/\r$//; s/\\$//')"
menu_folder="$prefix/drive_c/$(printf '%s' "${menu#C:\\}" | tr '\\' '/')"
shortcuts() { find "$menu_folder" -maxdepth 1 -name '*bancario.lnk' | wc -l; }
[ "$(shortcuts)" -eq 1 ] || fail "no shortcut in $menu"

cli_through_path install

save_through_shortcut install "$root" 'C:\Program Files\Cuentas\'

# --- The same installer again, as a script run twice does it ----------------------------------
msiexec reinstall 0 /i "$msi"
[ "$(installed)" = "$layout"$'\n''tmp/xtras.ini' ] || fail "reinstalled: $(installed | tr '\n' ' ')"
saved || fail "the reinstall changed tmp\\xtras.ini"
cli_through_path reinstall

# --- Upgrades: the same version rebuilt, then a newer one; an older one is refused -------------
IFS=. read -r major minor _ <<<"$version"
newer="$major.$((${minor:-0} + 1))"
"$make_msi" "$work/same.msi" "$version" "${sources[@]}"
"$make_msi" "$work/newer.msi" "$newer" "${sources[@]}"
# A logged error goes with the installation it was logged by (README: Installing, On Windows).
echo "an error record" >>"$root/bin/ERROR.LOG"
msiexec upgrade-same 0 /i "$work/same.msi"
registered "$(product_code "$msi")" && fail "the same version rebuilt left the first installed"
registered "$(product_code "$work/same.msi")" || fail "the same version rebuilt is not installed"
[ ! -s "$root/bin/ERROR.LOG" ] || fail "the upgrade kept the old ERROR.LOG"
msiexec upgrade-newer 0 /i "$work/newer.msi"
registered "$(product_code "$work/same.msi")" && fail "version $newer left $version installed"
registered "$(product_code "$work/newer.msi")" || fail "version $newer is not installed"
msiexec downgrade $((1603 % 256)) /i "$msi"
registered "$(product_code "$work/newer.msi")" || fail "an older installer removed version $newer"
[ "$(installed)" = "$layout"$'\n''tmp/xtras.ini' ] || fail "after upgrades: $(installed | tr '\n' ' ')"
saved || fail "the upgrades changed tmp\\xtras.ini"

# --- Uninstall: only what the clerk saved stays -------------------------------------------------
echo "an error record" >>"$root/bin/ERROR.LOG"
msiexec uninstall 0 /x "$work/newer.msi"
[ "$(installed)" = "$saved_only" ] ||
  fail "left after uninstalling: $(installed | tr '\n' ' ')"
saved || fail "the uninstall changed tmp\\xtras.ini"
[ "$(shortcuts)" -eq 0 ] || fail "the shortcut stayed"
wine reg query 'HKLM\Software\Cuentas' >/dev/null 2>&1 &&
  fail "the installation folder stays in the registry"
path="$(wine cmd /c 'echo %PATH%' 2>&1 | tr -d '\r')"
case "$path" in *Cuentas*) fail "PATH still names the program: $path" ;; esac

# --- Another folder: the layout, the shortcut's folder and PATH move with it, and upgrades and
# the uninstall find it -------------------------------------------------------------------------
restore_path
elsewhere="$prefix/drive_c/Oficina/Cuentas"
msiexec elsewhere-install 0 /i "$msi" 'INSTALLDIR=C:\Oficina\Cuentas\'
[ "$(installed "$elsewhere")" = "$layout" ] ||
  fail "installed in C:\Oficina\Cuentas: $(installed "$elsewhere" | tr '\n' ' ')"
cli_through_path elsewhere-install
save_through_shortcut elsewhere-install "$elsewhere" 'C:\Oficina\Cuentas\'
msiexec elsewhere-upgrade 0 /i "$work/same.msi"
[ "$(installed "$elsewhere")" = "$layout"$'\n''tmp/xtras.ini' ] ||
  fail "upgraded in C:\Oficina\Cuentas: $(installed "$elsewhere" | tr '\n' ' ')"
[ "$(installed)" = "$saved_only" ] ||
  fail "the upgrade went to the default folder: $(installed | tr '\n' ' ')"
msiexec elsewhere-uninstall 0 /x "$work/same.msi"
[ "$(installed "$elsewhere")" = "$saved_only" ] ||
  fail "left in C:\Oficina\Cuentas: $(installed "$elsewhere" | tr '\n' ' ')"

if [ "$failures" -ne 0 ]; then
  exit 1
fi
echo "installed, used through PATH and the shortcut, upgraded and removed with clean logs"
