#!/usr/bin/env bash
# Makes the Wine prefix that the Windows suite runs in, once. Wine hands a Windows program no
# QT_ variable of the Linux environment, so the tests' platform (offscreen) is set in the prefix's
# own environment; the real window asks for its platform on its command line.
set -euo pipefail
prefix=${1:?usage: $0 WINEPREFIX}
export WINEPREFIX=$prefix WINEDEBUG=-all
here=$(dirname "$0")
[ -f "$prefix/.desk-ready" ] && exit 0
"$here/wine.sh" wineboot --init
"$here/wine.sh" reg add 'HKCU\Environment' /v QT_QPA_PLATFORM /t REG_SZ /d offscreen /f
touch "$prefix/.desk-ready"
