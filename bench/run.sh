#!/usr/bin/env bash
# Measures Assignment Desk beside a minimal Qt Widgets program and prints one table of figures,
# targets and whether each is met. Usage: bench/run.sh BUILD_DIR (after building desk-bench-all).
#
# Start-up and memory are measured on the real programs in an X server of our own (Xvfb), with a
# temporary HOME; the clicks are timed inside the program by desk-bench-clicks.
# The exit status is 1 when a target is missed, 2 when a measurement could not be made.

set -euo pipefail

BUILD=$(cd "${1:?usage: bench/run.sh BUILD_DIR}" && pwd)
APP=$BUILD/assignment-desk
MINIMAL=$BUILD/bench/desk-bench-minimal-qt
CLICKS=$BUILD/bench/desk-bench-clicks
RUNS=${BENCH_RUNS:-15}        # start-up runs of each program
MEMORY_RUNS=${BENCH_MEMORY_RUNS:-3}
TIMEOUT=20                     # seconds for any one wait

for program in "$APP" "$MINIMAL" "$CLICKS"; do
    [ -x "$program" ] || { echo "missing $program: build the target desk-bench-all first" >&2; exit 2; }
done

fail() {
    echo "bench: $*" >&2
    [ -s "${WORK:-}/programs.log" ] && tail -n 5 "$WORK/programs.log" >&2
    exit 2
}

WORK=$(mktemp -d)
PROGRAM_PID=
XVFB_PID=
cleanup() {
    set +e
    [ -n "$PROGRAM_PID" ] && kill "$PROGRAM_PID" 2>/dev/null
    [ -n "$XVFB_PID" ] && kill "$XVFB_PID" 2>/dev/null && wait "$XVFB_PID" 2>/dev/null
    rm -rf "$WORK"
}
trap cleanup EXIT

export HOME=$WORK/home XDG_RUNTIME_DIR=$WORK/runtime
mkdir -p "$HOME" && mkdir -m 700 "$XDG_RUNTIME_DIR"
# -noreset: the server would otherwise reset whenever its last client leaves, and refuse the
# next program while it does.
Xvfb -displayfd 3 -screen 0 1280x1024x24 -nolisten tcp -noreset 3>"$WORK/display" 2>/dev/null &
XVFB_PID=$!
until [ -s "$WORK/display" ]; do
    kill -0 "$XVFB_PID" 2>/dev/null || fail "Xvfb did not start"
    sleep 0.05
done
export DISPLAY=":$(head -n1 "$WORK/display")"
unset QT_QPA_PLATFORM

visible_window() { xdotool search --onlyvisible --name "^$1\$" 2>/dev/null | head -n1; }

# Waits until a window of that title is on screen and prints its id.
wait_window() {
    local deadline=$((SECONDS + TIMEOUT)) id
    until id=$(visible_window "$1") && [ -n "$id" ]; do
        kill -0 "$PROGRAM_PID" 2>/dev/null || fail "the program ended before showing '$1'"
        [ $SECONDS -lt $deadline ] || fail "no window '$1'"
        sleep 0.005
    done
    echo "$id"
}

wait_gone() {
    local deadline=$((SECONDS + TIMEOUT))
    while xwininfo -id "$1" 2>/dev/null | grep -q IsViewable; do
        [ $SECONDS -lt $deadline ] || fail "window $1 did not close"
        sleep 0.01
    done
}

launch() {
    "$1" >>"$WORK/programs.log" 2>&1 &
    PROGRAM_PID=$!
}

stop_program() {
    kill "$PROGRAM_PID" 2>/dev/null || true
    wait "$PROGRAM_PID" 2>/dev/null || true
    PROGRAM_PID=
}

# Milliseconds from the launch of a program to its first input box on screen.
start_to_box_ms() {
    local t0 t1
    t0=$(date +%s%N)
    launch "$1"
    wait_window "Assignment Desk" >/dev/null
    t1=$(date +%s%N)
    stop_program
    calc "%.1f" "($t1 - $t0) / 1000000"
}

# Peak resident memory (KiB) of a program once its window is up, its input boxes answered.
peak_kib() {
    local program=$1 answer box kib
    shift
    launch "$program"
    for answer in "$@"; do
        box=$(wait_window "Assignment Desk")
        xdotool type --delay 2 -- "$answer"
        xdotool key Return
        wait_gone "$box"
    done
    wait_window "Form1" >/dev/null
    sleep 0.5
    kib=$(awk '/^VmHWM:/ { print $2 }' "/proc/$PROGRAM_PID/status")
    stop_program
    echo "$kib"
}

# Prints an arithmetic expression in a printf format: calc "%.2f" "1 / 3".
calc() { awk "BEGIN { printf \"$1\\n\", $2 }"; }
median() { sort -n | awk '{ v[NR] = $1 } END { print (NR % 2) ? v[(NR + 1) / 2] : (v[NR / 2] + v[NR / 2 + 1]) / 2 }'; }

# One row: label, value, target, met (yes/NO/-), separated by tabs.
ROWS=$WORK/rows
row() { printf '%s\t%s\t%s\t%s\n' "$@" >>"$ROWS"; }
met() { awk "BEGIN { print ($1) ? \"yes\" : \"NO\" }"; }

# Start-up: one warm-up run of each, then the two programs in turn.
start_to_box_ms "$APP" >/dev/null
start_to_box_ms "$MINIMAL" >/dev/null
: >"$WORK/start.app"
: >"$WORK/start.minimal"
for ((i = 0; i < RUNS; i++)); do
    start_to_box_ms "$APP" >>"$WORK/start.app"
    start_to_box_ms "$MINIMAL" >>"$WORK/start.minimal"
done
app_start=$(median <"$WORK/start.app")
minimal_start=$(median <"$WORK/start.minimal")
start_ratio=$(calc "%.2f" "$app_start / $minimal_start")
row "Start to first input box: Assignment Desk (median of $RUNS)" "$app_start ms" "" "-"
row "Start to first input box: minimal Qt program (median of $RUNS)" "$minimal_start ms" "" "-"
row "Start to first input box: ratio" "$start_ratio" "<= 1.3" "$(met "$start_ratio <= 1.3")"

# Memory with the window up.
: >"$WORK/mem.app"
: >"$WORK/mem.minimal"
for ((i = 0; i < MEMORY_RUNS; i++)); do
    peak_kib "$APP" 1 "Bench User" BUA 1 >>"$WORK/mem.app"
    peak_kib "$MINIMAL" 1 >>"$WORK/mem.minimal"
done
app_kib=$(median <"$WORK/mem.app")
minimal_kib=$(median <"$WORK/mem.minimal")
mib() { calc "%.1f" "($1) / 1024"; }
memory_difference=$(mib "$app_kib - $minimal_kib")
row "Peak memory, window up: Assignment Desk (VmHWM)" "$(mib "$app_kib") MiB" "" "-"
row "Peak memory, window up: minimal Qt program (VmHWM)" "$(mib "$minimal_kib") MiB" "" "-"
row "Peak memory, window up: difference" "$memory_difference MiB" "<= 10 MiB" "$(met "$memory_difference <= 10")"

# The clicks, timed inside the program; its record files go to a temporary folder on this disk.
TMPDIR=$WORK QT_QPA_PLATFORM=offscreen "$CLICKS" >>"$ROWS" 2>>"$WORK/programs.log" ||
    fail "desk-bench-clicks failed"

echo "Machine: $(nproc) CPUs, $(awk -F': ' '/^model name/ { print $2; exit }' /proc/cpuinfo)," \
    "$(awk '/^MemTotal:/ { printf "%.1f GiB", $2 / 1048576 }' /proc/meminfo) RAM"
awk -F'\t' 'BEGIN { printf "%-74s %-26s %-10s %s\n", "Figure", "Value", "Target", "Met" }
            { printf "%-74s %-26s %-10s %s\n", $1, $2, ($3 == "" ? "-" : $3), $4 }' "$ROWS"
if cut -f4 "$ROWS" | grep -qx NO; then
    echo "Some targets are missed (NO above)."
    exit 1
fi
