#!/usr/bin/env bash
# Cross-builds Qt for 64-bit Windows from Debian's own Qt source, once, into $1 (the Makefile's
# QT_WINDOWS_PREFIX). The host tools come from the distribution's qt6-base-dev. The source is
# fetched through a private apt configuration, so the system's apt settings stay as they are.
set -euo pipefail
prefix=${1:?usage: $0 PREFIX}
here=$(cd "$(dirname "$0")/.." && pwd)
if [ -x "$prefix/bin/qt-cmake" ] && [ -f "$prefix/lib/cmake/Qt6Widgets/Qt6WidgetsConfig.cmake" ]; then
  exit 0
fi

work=${QT_WINDOWS_WORK:-$(dirname "$prefix")/qt-windows-work}
mkdir -p "$work/apt/lists/partial" "$work/apt/cache/archives/partial" "$work/src"

# deb-src lines for the system's own Debian archives, from both of apt's source formats.
sources=$work/apt/sources.list
{
  grep -hE '^[[:space:]]*deb[[:space:]]' /etc/apt/sources.list /etc/apt/sources.list.d/*.list 2>/dev/null \
    | sed -E 's/^[[:space:]]*deb[[:space:]]/deb-src /' || true
  for f in /etc/apt/sources.list.d/*.sources; do
    [ -f "$f" ] || continue
    awk 'function flush() { if (types ~ /(^| )deb( |$)/ && uris != "")
                              { n = split(uris, u, " "); m = split(suites, s, " ");
                                for (i = 1; i <= n; i++) for (j = 1; j <= m; j++)
                                  printf "deb-src %s%s %s %s\n", signed, u[i], s[j], comps } 
                            types = uris = suites = comps = signed = "" }
         /^[[:space:]]*$/ { flush(); next }
         /^Types:/ { sub(/^Types:[[:space:]]*/, ""); types = $0 }
         /^URIs:/ { sub(/^URIs:[[:space:]]*/, ""); uris = $0 }
         /^Suites:/ { sub(/^Suites:[[:space:]]*/, ""); suites = $0 }
         /^Components:/ { sub(/^Components:[[:space:]]*/, ""); comps = $0 }
         /^Signed-By:/ { sub(/^Signed-By:[[:space:]]*/, ""); signed = "[signed-by=" $0 "] " }
         END { flush() }' "$f"
  done
} | grep -E 'debian' > "$sources"
[ -s "$sources" ] || { echo "No Debian archive in the system's apt sources" >&2; exit 1; }

apt_private=(-o Dir::Etc::SourceList="$sources" -o Dir::Etc::SourceParts=/dev/null
             -o Dir::State::Lists="$work/apt/lists" -o Dir::Cache="$work/apt/cache"
             -o Dir::State::status=/var/lib/dpkg/status)
version=$(dpkg-query -W -f='${Version}' qt6-base-dev)
if ! ls -d "$work"/src/qtbase-everywhere-src-*/ >/dev/null 2>&1; then
  apt-get "${apt_private[@]}" update
  (cd "$work/src" && apt-get "${apt_private[@]}" source --download-only "qt6-base=$version" \
     && dpkg-source --no-check -x qt6-base_*.dsc qtbase-src)
fi
src=$(ls -d "$work"/src/qtbase-src 2>/dev/null || ls -d "$work"/src/qtbase-everywhere-src-*/ | head -1)

build=$work/build
rm -rf "$build"
mkdir -p "$build"
cd "$build"
"$src/configure" -prefix "$prefix" -release -opensource -confirm-license \
  -xplatform win32-g++ -qt-host-path /usr \
  -qt-zlib -qt-libpng -qt-libjpeg -qt-freetype -qt-harfbuzz -qt-pcre \
  -no-feature-tabletevent -no-feature-network -no-feature-sql -no-dbus -no-opengl \
  -no-feature-printsupport -no-feature-concurrent -no-feature-xml -no-icu \
  -nomake examples -nomake tests \
  -- -DCMAKE_TOOLCHAIN_FILE="$here/packaging/windows/mingw-toolchain.cmake" \
     -DQT_HOST_PATH_CMAKE_DIR=/usr/lib/x86_64-linux-gnu/cmake
cmake --build . --parallel
cmake --install .
