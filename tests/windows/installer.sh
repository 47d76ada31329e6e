#!/usr/bin/env bash
# The installer under Wine installs for the user who runs it, without administrator rights: the
# program's folder under the user's local programs, a Start-menu entry named as the desktop
# entry is, an uninstaller; and the uninstaller takes it all away again.
set -euo pipefail
installer=${1:?usage: $0 INSTALLER}
here=$(dirname "$0")
user=$WINEPREFIX/drive_c/users/$(id -un)
folder="$user/AppData/Local/Programs/Assignment Desk"
entry="$user/AppData/Roaming/Microsoft/Windows/Start Menu/Programs/Assignment Desk/Assignment Desk.lnk"
fail() { echo "FAIL: $*" >&2; exit 1; }

"$here/wine.sh" "$installer" /S || fail "the installer failed"
for file in assignment-desk.exe assignment-desk-check.exe Qt6Core.dll platforms/qwindows.dll \
    styles/qwindowsvistastyle.dll libstdc++-6.dll LICENSE Uninstall.exe; do
    [ -f "$folder/$file" ] || fail "not installed: $file"
done
[ -f "$entry" ] || fail "no Start-menu entry"

# The uninstaller copies itself away and goes on after it returns.
"$here/wine.sh" "$folder/Uninstall.exe" /S || fail "the uninstaller failed"
deadline=$((SECONDS + 60))
while [ -e "$folder" ] || [ -e "$entry" ]; do
    [ $SECONDS -lt $deadline ] || fail "the uninstaller left the program behind"
    sleep 0.1
done
echo "installer: ok"
