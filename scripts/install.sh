#!/usr/bin/env bash
# `make install` and `make uninstall`. The install keeps its own list of what it put in place (the
# files, and the folders it had to create), so that the uninstall removes exactly those and
# nothing that was there before. CMake's own install_manifest.txt will not do: every other
# `cmake --install` of the build, such as the tests', writes it anew. Where the place is not the
# user's to write (/usr/local), the copying and removing go through sudo; the build stays theirs.
set -euo pipefail
action=${1:?install or uninstall}
build=${2:?build directory}
prefix=${3:-/usr/local}
list=$build/installed-files.txt

# sudo, unless we are root or may write at `path` (or, where it does not exist yet, its parent).
sudo_for() {
    local path=$1
    while [ ! -e "$path" ]; do path=$(dirname "$path"); done
    if [ "$(id -u)" -eq 0 ] || [ -w "$path" ]; then echo ""; else echo sudo; fi
}

case $action in
install)
    stage=$(mktemp -d)
    trap 'rm -rf "$stage"' EXIT
    DESTDIR=$stage cmake --install "$build" --prefix "$prefix" >/dev/null
    # The folders this install will create, deepest first.
    entries=()
    while IFS= read -r dir; do
        [ -d "$dir" ] || entries+=("$dir")
    done < <(cd "$stage" && find . -mindepth 1 -type d | sed 's|^\.||' | sort -r)
    sudo=$(sudo_for "$prefix")
    $sudo cmake --install "$build" --prefix "$prefix"
    # What an earlier install from this build put elsewhere, or created, stays on the list.
    new=$(cat "$build/install_manifest.txt"; echo)
    if [ -f "$list" ]; then
        while IFS= read -r path; do
            if { [ -e "$path" ] || [ -L "$path" ]; } && ! grep -qxF -- "$path" <<<"$new"; then
                entries+=("$path")
            fi
        done < "$list"
    fi
    { echo "$new"; printf '%s\n' "${entries[@]}"; } | grep -v '^$' > "$list.new"
    # Files first, then folders, deepest first, so each folder is empty when its turn comes.
    is_folder() { [ -d "$1" ] && [ ! -L "$1" ]; }
    { while IFS= read -r path; do if ! is_folder "$path"; then echo "$path"; fi; done < "$list.new"
      while IFS= read -r path; do if is_folder "$path"; then echo "$path"; fi; done < "$list.new" | sort -r
    } > "$list"
    rm -f "$list.new"
    ;;
uninstall)
    if [ ! -f "$list" ]; then
        echo "Nothing to uninstall: $list is missing (no \`make install\` from this build)." >&2
        exit 1
    fi
    # What could not be removed stays on the list, for another try (with sudo, say).
    left=()
    while IFS= read -r path; do
        sudo=$(sudo_for "$(dirname "$path")")
        if [ -d "$path" ] && [ ! -L "$path" ]; then
            if [ -n "$(ls -A "$path")" ]; then
                # It may still hold a file of ours that could not be removed.
                if [ ${#left[@]} -gt 0 ]; then left+=("$path"); fi
                echo "-- Kept, not empty: $path"
            elif $sudo rmdir "$path"; then
                echo "-- Removed: $path"
            else
                left+=("$path")
            fi
        elif [ -e "$path" ] || [ -L "$path" ]; then
            if $sudo rm -f "$path"; then echo "-- Removed: $path"; else left+=("$path"); fi
        fi
    done < "$list"
    if [ ${#left[@]} -gt 0 ]; then
        printf '%s\n' "${left[@]}" > "$list"
        echo "Could not remove ${#left[@]} of them; they are still listed in $list." >&2
        exit 1
    fi
    rm -f "$list"
    ;;
*)
    echo "usage: $0 install|uninstall BUILD [PREFIX]" >&2
    exit 2
    ;;
esac
