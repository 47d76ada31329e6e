#!/usr/bin/env bash
# The program as a blind student meets it: read over AT-SPI, the bus screen readers use, on a
# session bus and an accessibility bus of the test's own. Every working command reports its
# keyboard shortcut, and a record is told in speech and braille (tests/e2e/screen_reader.py).
source "$(dirname "$0")/e2e_lib.sh"
here=$(dirname "$0")

# A session bus of our own, which starts the accessibility bus on demand and ends with the test.
if [ -z "${E2E_OWN_BUS:-}" ]; then
    runtime=$(mktemp -d)
    status=0
    E2E_OWN_BUS=1 XDG_RUNTIME_DIR=$runtime dbus-run-session -- bash "$0" || status=$?
    rm -rf "$runtime"
    exit "$status"
fi

e2e_start
a11y_bus_pid() {
    dbus-send --session --print-reply=literal --dest=org.freedesktop.DBus /org/freedesktop/DBus \
        org.freedesktop.DBus.GetConnectionUnixProcessID string:org.a11y.Bus | awk '{ print $2 }'
}
dbus-send --session --print-reply --dest=org.a11y.Bus /org/a11y/bus org.a11y.Bus.GetAddress \
    >/dev/null || fail "no accessibility bus"
A11Y_PID=$(a11y_bus_pid)
trap 'kill "$A11Y_PID" 2>/dev/null; e2e_stop' EXIT

export QT_LINUX_ACCESSIBILITY_ALWAYS_ON=1
e2e_launch_as_ann
/usr/bin/python3 "$here/screen_reader.py" "$E2E_TIMEOUT" || fail "read over AT-SPI"
click_control cmd_quit
wait_program_end
echo "screen reader: ok"
