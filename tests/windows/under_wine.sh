#!/usr/bin/env bash
# Runs a Qt Test program built for Windows under Wine. Its results go to a file and are printed
# from there: what a Windows program writes to a Unix pipe does not come through Wine.
set -uo pipefail
results=$(mktemp --suffix=.txt)
trap 'rm -f "$results"' EXIT
"$(dirname "$0")/wine.sh" "$@" -o "Z:$results,txt"
status=$?
cat "$results"
exit "$status"
