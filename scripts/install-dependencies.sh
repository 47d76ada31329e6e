#!/usr/bin/env bash
# Installs the Debian 12 packages a task needs, if any is missing, through sudo when not root.
#   run      building and running the program (`make run`, `make install`)
#   package  run, and what builds the .deb (`make package`)
#   test     package, and what the tests drive and check the program with (`make test`, `make bench`)
#   windows  run, and the MinGW cross compiler, Wine and NSIS (`make windows`); dpkg-dev fetches
#            Debian's Qt source for the Qt built for Windows
#   test-windows  test and windows (`make test-windows`)
set -euo pipefail

run=(cmake ninja-build g++ make qt6-base-dev libicu-dev fonts-wine fonts-liberation)
# dpkg-shlibdeps and file read the program's library dependencies into the .deb.
package=("${run[@]}" dpkg-dev file)
# An X server and the tools that type, click, read the clipboard and take screenshots; a session
# bus, the accessibility bus and the Python bindings a screen reader reads the window with;
# the package checkers; the locale sources a test builds a decimal-comma locale from.
test=("${package[@]}" xvfb xauth xdotool x11-utils xclip imagemagick
      dbus at-spi2-core python3-pyatspi
      lintian appstream desktop-file-utils locales)

windows=("${run[@]}" dpkg-dev g++-mingw-w64-x86-64-posix mingw-w64-tools wine64 nsis)

case "${1:-run}" in
  run) packages=("${run[@]}") ;;
  package) packages=("${package[@]}") ;;
  test) packages=("${test[@]}") ;;
  windows) packages=("${windows[@]}") ;;
  test-windows) packages=("${test[@]}" "${windows[@]}") ;;
  *) echo "usage: $0 [run|package|test|windows|test-windows]" >&2; exit 2 ;;
esac

missing=()
for p in "${packages[@]}"; do
  dpkg-query -W -f='${Status}' "$p" 2>/dev/null | grep -q "ok installed" || missing+=("$p")
done
[ ${#missing[@]} -eq 0 ] && exit 0

echo "Installing: ${missing[*]}"
sudo=""
if [ "$(id -u)" -ne 0 ]; then sudo="sudo"; fi
$sudo apt-get update
$sudo env DEBIAN_FRONTEND=noninteractive apt-get install -y --no-install-recommends "${missing[@]}"
