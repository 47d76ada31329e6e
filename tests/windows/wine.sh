#!/usr/bin/env bash
# Runs a Windows program under 64-bit Wine, wherever Debian put it.
for wine in wine64 /usr/lib/wine/wine64 wine; do
    command -v "$wine" >/dev/null 2>&1 && exec "$wine" "$@"
done
echo "Wine is not installed (Debian package wine64)" >&2
exit 2
