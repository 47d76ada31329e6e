#!/usr/bin/env bash
# `cmake --install` puts the program, its menu entry and its icon in the standard places.
set -euo pipefail
build=${1:?build directory}
prefix=$(mktemp -d)
trap 'rm -rf "$prefix"' EXIT
cmake --install "$build" --prefix "$prefix" >/dev/null

fail() { echo "FAIL: $*" >&2; exit 1; }
[ -x "$prefix/bin/assignment-desk" ] || fail "no program in bin/"
entry=$prefix/share/applications/assignment-desk.desktop
[ -f "$entry" ] || fail "no .desktop entry"
for key in "Type=Application" "Name=Assignment Desk" "Exec=assignment-desk" "Icon=assignment-desk" "Categories=Education;"; do
    grep -q "^$key" "$entry" || fail "the .desktop entry lacks $key"
done
grep -q "^Comment=." "$entry" || fail "the .desktop entry has no comment"
[ -f "$prefix/share/icons/hicolor/scalable/apps/assignment-desk.svg" ] || fail "no icon"
echo "install layout: ok"
