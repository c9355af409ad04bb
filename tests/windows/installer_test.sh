#!/usr/bin/env bash
# The installer under Wine: a silent installation over an older version
# replaces it (the older one's files are gone, one installation is
# registered, with the new version) and puts the programs and content into
# Program Files, the saver into the system folder (where it finds the
# content and runs a preview), a Start-menu shortcut and the uninstall entry;
# installing again leaves one installation; the silent uninstaller leaves no
# file, shortcut or registry key behind, nor the user's choice of Driftglow
# as the screensaver.
# Usage: tests/windows/installer_test.sh SETUP_EXE OLDER_SETUP_EXE PREVIEW_HOST_EXE
# OLDER_SETUP_EXE is an installer of an earlier version that also installs
# a file named from-an-older-version.txt.
set -uo pipefail
setup=$1
olderSetup=$2
host=$3
wine=${WINE:-/usr/lib/wine/wine64}
source "$(dirname "$0")/../desktop/virtual_display.sh"
startVirtualDisplay -screen 0 1024x768x24

drive=$WINEPREFIX/drive_c
folder="$drive/Program Files/Driftglow"
menu="$drive/ProgramData/Microsoft/Windows/Start Menu/Programs/Driftglow"
saver=$drive/windows/system32/Driftglow.scr
uninstallKey='HKLM\Software\Microsoft\Windows\CurrentVersion\Uninstall\Driftglow'
vendorKey='HKLM\Software\The Driftglow developers'
failures=0
fail() { echo "$1"; failures=$((failures + 1)); }
registryValue() { "$wine" reg query "$1" /v "$2" 2>/dev/null | tr -d '\r' | sed -n "s/^ *$2 *REG_SZ *//p"; }
hasKey() { "$wine" reg query "$1" >/dev/null 2>&1; }

install() {
  timeout 120 "$wine" "$1" /S >"$work/setup.log" 2>&1 || { cat "$work/setup.log"; fail "the installer $1 failed"; }
}
registrations() {
  "$wine" reg query 'HKLM\Software\Microsoft\Windows\CurrentVersion\Uninstall' 2>/dev/null | grep -c -i 'driftglow'
}
checkInstalled() {
  local file
  for file in driftglow.exe driftglow-still.exe driftglow-calc.exe Driftglow.scr Graphics.paq Sound.paq \
    pix README.txt licenses Uninstall.exe; do
    [[ -e $folder/$file ]] || fail "$1: $file is not installed"
  done
  [[ -f $menu/Driftglow.lnk ]] || fail "$1: no Start-menu shortcut"
  [[ -f $saver ]] || fail "$1: no screensaver in the system folder"
  [[ $(registryValue "$uninstallKey" DisplayName) == Driftglow ]] || fail "$1: no uninstall entry"
  [[ $(registryValue "$uninstallKey" Publisher) == "The Driftglow developers" ]] || fail "$1: wrong publisher"
  [[ -n $(registryValue "$uninstallKey" DisplayVersion) ]] || fail "$1: no version in the uninstall entry"
  [[ -z $(registryValue "$uninstallKey" URLInfoAbout) ]] || fail "$1: the uninstall entry names a web site"
}

install "$olderSetup"
checkInstalled "older version"
olderVersion=$(registryValue "$uninstallKey" DisplayVersion)
[[ -f $folder/from-an-older-version.txt ]] || fail "the older version's own file is not installed"

install "$setup"
checkInstalled "installation over an older version"
# The installer is named Driftglow-VERSION-win64-setup.exe.
version=$(basename "$setup" | sed -n 's/^Driftglow-\(.*\)-win64-setup\.exe$/\1/p')
[[ $(registryValue "$uninstallKey" DisplayVersion) == "$version" && $version != "$olderVersion" ]] ||
  fail "the uninstall entry gives version $(registryValue "$uninstallKey" DisplayVersion), not $version"
[[ -e $folder/from-an-older-version.txt ]] && fail "the older version's file is left in the installation"
[[ $(registrations) -eq 1 ]] || fail "two installations are registered after installing over an older version"
# The copy in the system folder finds the installed content and shows a preview.
(cd "$drive" && timeout 60 "$wine" "$host" 'C:\windows\system32\Driftglow.scr' 3) >"$work/preview.log" 2>&1 ||
  { cat "$work/preview.log"; fail "the saver in the system folder did not run its preview"; }

install "$setup"
checkInstalled "second installation"
[[ $(registrations) -eq 1 ]] || fail "two installations are registered"

# The user chose Driftglow as the screensaver, as the Display settings record it.
"$wine" reg add 'HKCU\Control Panel\Desktop' /v SCRNSAVE.EXE /d 'C:\windows\system32\Driftglow.scr' /f >/dev/null 2>&1

# The uninstaller runs a copy of itself from the temporary folder and returns
# at once; wait for that copy to end.
timeout 60 "$wine" "$folder/Uninstall.exe" /S >"$work/uninstall.log" 2>&1 || fail "the uninstaller failed to start"
for _ in $(seq 600); do
  [[ -e $folder ]] || pgrep -f 'Au_\.exe|Un_[A-Z]\.exe' >/dev/null || break
  sleep 0.1
done
[[ -e $folder ]] && fail "left behind: $(cd "$folder" && find . | head -5 | tr '\n' ' ')"
[[ -e $menu ]] && fail "left behind: the Start-menu folder"
[[ -e $saver ]] && fail "left behind: the screensaver in the system folder"
hasKey "$uninstallKey" && fail "left behind: the uninstall entry"
hasKey "$vendorKey" && fail "left behind: $vendorKey"
[[ -n $(registryValue 'HKCU\Control Panel\Desktop' SCRNSAVE.EXE) ]] && fail "left behind: the choice of Driftglow as the screensaver"
[[ $failures -eq 0 ]]
