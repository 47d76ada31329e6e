#!/usr/bin/env bash
# `make install` and `make uninstall`. The install keeps its own list of what it put in place (the
# files, and the folders it had to create), so that the uninstall removes exactly those and
# nothing that was there before. CMake's own install_manifest.txt will not do: every other
# `cmake --install` of the build, such as the tests', writes it anew.
set -euo pipefail
action=${1:?install or uninstall}
build=${2:?build directory}
prefix=${3:-/usr/local}
list=$build/installed-files.txt

case $action in
install)
    stage=$(mktemp -d)
    trap 'rm -rf "$stage"' EXIT
    DESTDIR=$stage cmake --install "$build" --prefix "$prefix" >/dev/null
    # The folders this install will create, deepest first; a reinstall keeps those of the last.
    created=()
    while IFS= read -r dir; do
        [ -d "$dir" ] || created+=("$dir")
    done < <(cd "$stage" && find . -mindepth 1 -type d | sed 's|^\.||' | sort -r)
    if [ -f "$list" ]; then
        while IFS= read -r path; do
            [ -d "$path" ] && [ ! -L "$path" ] && created+=("$path")
        done < "$list"
    fi
    cmake --install "$build" --prefix "$prefix"
    { cat "$build/install_manifest.txt"; echo; printf '%s\n' "${created[@]}"; } | grep -v '^$' > "$list"
    ;;
uninstall)
    if [ ! -f "$list" ]; then
        echo "Nothing to uninstall: $list is missing (no \`make install\` from this build)." >&2
        exit 1
    fi
    while IFS= read -r path; do
        if [ -d "$path" ] && [ ! -L "$path" ]; then
            rmdir "$path" 2>/dev/null && echo "-- Removed: $path" || echo "-- Kept, not empty: $path"
        elif [ -e "$path" ] || [ -L "$path" ]; then
            rm -f "$path" && echo "-- Removed: $path"
        fi
    done < "$list"
    rm -f "$list"
    ;;
*)
    echo "usage: $0 install|uninstall BUILD [PREFIX]" >&2
    exit 2
    ;;
esac
