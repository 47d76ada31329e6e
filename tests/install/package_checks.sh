#!/usr/bin/env bash
# The .deb as a Debian user gets it: lintian, appstreamcli and desktop-file-validate have nothing
# to say of it, its dependencies come from the program, and the program carries the hardening.
set -euo pipefail
build=${1:?build directory}
work=$(mktemp -d)
trap 'rm -rf "$work"' EXIT
fail() { echo "FAIL: $*" >&2; exit 1; }

cpack --config "$build/CPackConfig.cmake" -B "$work" >/dev/null
debs=("$work"/assignment-desk_*.deb)
deb=${debs[0]}
[ -f "$deb" ] || fail "cpack made no .deb"

if ! report=$(lintian --fail-on error,warning "$deb" 2>&1); then
    grep -v "running with root privileges" <<<"$report" >&2 || true
    fail "lintian reports an error or a warning"
fi

dpkg-deb -x "$deb" "$work/root"
appstreamcli validate --no-net "$work/root/usr/share/metainfo/org.assignmentdesk.AssignmentDesk.metainfo.xml" \
    || fail "appstreamcli rejects the metainfo"
desktop-file-validate "$work/root/usr/share/applications/org.assignmentdesk.AssignmentDesk.desktop" \
    || fail "desktop-file-validate rejects the menu entry"

# A machine with an older Qt than the one the program was built against must refuse the package.
depends=$(dpkg-deb -f "$deb" Depends)
built_qt=$(qtpaths6 --qt-version 2>/dev/null || dpkg-query -W -f='${Version}' libqt6core6)
qt_minor=$(echo "$built_qt" | cut -d. -f1,2)
[[ $depends == *"libqt6core6 (>= $qt_minor"* ]] || fail "Depends does not ask for Qt $qt_minor: $depends"
for needed in fonts-wine fonts-liberation qt6-qpa-plugins libicu; do
    [[ $depends == *"$needed"* ]] || fail "Depends lacks $needed: $depends"
done
changelog_version=$(zcat "$work/root/usr/share/doc/assignment-desk/changelog.gz" | head -n1 | sed 's/.*(\(.*\)).*/\1/')
[ "$changelog_version" = "$(dpkg-deb -f "$deb" Version)" ] || fail "the changelog's version is not the package's"

for name in assignment-desk assignment-desk-check; do
    program=$work/root/usr/bin/$name
    [ -x "$program" ] || fail "the package has no $name"
    dynamic=$(readelf -dW "$program")
    ! grep -Eq "RUNPATH|RPATH" <<<"$dynamic" || fail "$name carries a RUNPATH"
    grep -q "BIND_NOW" <<<"$dynamic" || fail "$name is not linked with -z now"
    [[ $(readelf -lW "$program") == *GNU_RELRO* ]] || fail "$name has no read-only relocations"
    [[ $(readelf -hW "$program") == *"DYN (Position-Independent"* ]] || fail "$name is not position-independent"
    [[ $(nm -D "$program") == *__stack_chk_fail* ]] || fail "$name has no stack protector"
done
grep -q -- "-D_FORTIFY_SOURCE=2" "$build/build.ninja" || fail "the program is not built with _FORTIFY_SOURCE"
echo "package checks: ok"
