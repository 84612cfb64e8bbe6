#!/bin/sh
# Builds the Windows installer: wixl writes the database from cuentas.wxs, msibuild adds what
# wixl 0.101 cannot write (the tables in tables/ and an Upgrade table that also replaces the same
# version).
#   packaging/windows/make-msi.sh OUTPUT.msi VERSION CUENTAS_EXE CUENTAS_CLI_EXE NOMBANCOS_DBF STRIP
# STRIP is the cross toolchain's strip: the installer ships the programs without their symbols
# and debug information, as the Debian package does.
set -eu
output=$(realpath -m "$1")
version=$2
program=$(realpath "$3")
cli=$(realpath "$4")
table=$(realpath "$5")
strip=$6
here=$(cd "$(dirname "$0")" && pwd)
# Every version of the installer has this upgrade code; it is how one version finds another.
upgrade_code=843CB4CF-B646-4EDE-880F-CF9CB994B28B

work=$(mktemp -d)
trap 'rm -rf "$work"' EXIT
mkdir -p "$work/staging/bin" "$work/tables"
"$strip" --strip-all -o "$work/staging/bin/cuentas.exe" "$program"
"$strip" --strip-all -o "$work/staging/bin/cuentas-cli.exe" "$cli"
cp "$table" "$work/staging/NomBancos.dbf"
: > "$work/staging/bin/ERROR.LOG"

# wixl reads the File sources relative to its working directory.
(cd "$work/staging" && wixl --arch x64 -D Version="$version" -D UpgradeCode="$upgrade_code" \
  -o "$work/cuentas.msi" "$here/cuentas.wxs")

# wixl's MajorUpgrade finds only older versions (its IncludeMaximum is not written): this Upgrade
# table finds the same version too, so that a rebuilt installer replaces what is installed, and
# keeps wixl's row that detects a newer one and refuses the downgrade.
{
  printf 'UpgradeCode\tVersionMin\tVersionMax\tLanguage\tAttributes\tRemove\tActionProperty\n'
  printf 's38\tS20\tS20\tS255\ti4\tS255\ts72\n'
  printf 'Upgrade\tUpgradeCode\tVersionMin\tVersionMax\tLanguage\tAttributes\n'
  # 513: migrate the feature states (1), the maximum included (512).
  printf '{%s}\t\t%s\t\t513\t\tWIX_UPGRADE_DETECTED\n' "$upgrade_code" "$version"
  # 2: only detect.
  printf '{%s}\t%s\t\t\t2\t\tWIX_DOWNGRADE_DETECTED\n' "$upgrade_code" "$version"
} > "$work/tables/Upgrade.idt"
cp "$here"/tables/*.idt "$work/tables/"
(cd "$work/tables" && for idt in *.idt; do msibuild "$work/cuentas.msi" -i "$idt"; done)
mv "$work/cuentas.msi" "$output"
