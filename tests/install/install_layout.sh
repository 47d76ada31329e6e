#!/usr/bin/env bash
# `make install` puts the program, its menu entry, icon, metadata, manual page and licence in the
# standard places, and `make uninstall` takes exactly those away again.
set -euo pipefail
build=${1:?build directory}
installer=${2:?install script}
prefix=$(mktemp -d)
list=$build/installed-files.txt
kept_list=$(mktemp)
[ -f "$list" ] && cp "$list" "$kept_list"
# The test installs from the same build as `make install` does: leave that install's list as it was.
trap 'rm -rf "$prefix"; if [ -s "$kept_list" ]; then mv "$kept_list" "$list"; else rm -f "$kept_list" "$list"; fi' EXIT
rm -f "$list"
# Folders that were there before the install, one of them holding a file of somebody else's.
mkdir -p "$prefix/share/man/man1" "$prefix/share/applications"
echo other > "$prefix/share/applications/other.desktop"
before=$(cd "$prefix" && find . | sort)
"$installer" install "$build" "$prefix" >/dev/null

fail() { echo "FAIL: $*" >&2; exit 1; }
[ -x "$prefix/bin/assignment-desk" ] || fail "no program in bin/"
[ -x "$prefix/bin/assignment-desk-check" ] || fail "no assignment-desk-check in bin/"
entry=$prefix/share/applications/org.assignmentdesk.AssignmentDesk.desktop
[ -f "$entry" ] || fail "no .desktop entry named after the program's id"
for key in "Type=Application" "Name=Assignment Desk" "Exec=assignment-desk" "Icon=assignment-desk" "Categories=Education;"; do
    grep -q "^$key" "$entry" || fail "the .desktop entry lacks $key"
done
grep -q "^Comment=." "$entry" || fail "the .desktop entry has no comment"
for file in share/icons/hicolor/scalable/apps/assignment-desk.svg \
            share/metainfo/org.assignmentdesk.AssignmentDesk.metainfo.xml \
            share/man/man1/assignment-desk.1.gz share/man/man1/assignment-desk-check.1.gz \
            share/doc/assignment-desk/copyright share/doc/assignment-desk/changelog.gz \
            share/doc/assignment-desk/record-files.md; do
    [ -f "$prefix/$file" ] || fail "no $file"
done

# A second install elsewhere: the uninstall takes away both.
second=$prefix/second
"$installer" install "$build" "$second" >/dev/null
[ -x "$second/bin/assignment-desk" ] || fail "the second install put no program in bin/"
"$installer" uninstall "$build" >/dev/null
after=$(cd "$prefix" && find . | sort)
[ "$after" = "$before" ] || fail "the uninstall did not leave the prefix as it was:
$(diff <(echo "$before") <(echo "$after"))"
echo "install layout: ok"
