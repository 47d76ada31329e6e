#!/usr/bin/env bash
# The Windows check command reads record files that the Linux program wrote: whole ones as whole
# (exit 0), a torn copy as not whole (exit 1). Usage: check_linux_files.sh RECORD_WRITER CHECK
set -euo pipefail
writer=${1:?usage: $0 RECORD_WRITER CHECK} check=${2:?}
root=$(mktemp -d)
trap 'rm -rf "$root"' EXIT
QT_QPA_PLATFORM=offscreen "$writer" "$root" AJL 3 2 >/dev/null
folder=$root/c/lrnfiles
files=("$folder"/masterFile_Ann_Lee.txt "$folder"/send_*Ann_Lee.txt "$folder"/notes_Ann_Lee.txt)
"$check" "${files[@]}" >/dev/null || { echo "FAIL: Linux record files read as not whole" >&2; exit 1; }
head -c -3 "${files[0]}" >"$root/torn.txt"
status=0
"$check" "$root/torn.txt" >/dev/null || status=$?
[ "$status" = 1 ] || { echo "FAIL: a torn file gave exit status $status" >&2; exit 1; }
echo "check reads Linux files: ok"
