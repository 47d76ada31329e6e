# Helpers for driving the real program in a real X server (Xvfb) as a person would: typing into
# the input boxes, clicking the controls where they stand on screen, reading what is shown.
# Every run gets its own display and its own HOME. Waits are on conditions, bounded in time.

set -euo pipefail

: "${APP:?APP must name the program to test}"
E2E_TIMEOUT=${E2E_TIMEOUT:-20}

fail() { echo "FAIL: $*" >&2; exit 1; }

e2e_stop() {
    local status=$?
    # A failed run keeps what the program said, for the one who looks into it.
    if [ "$status" -ne 0 ] && [ -n "${E2E_ARTIFACTS:-}" ] && [ -s "${E2E_HOME:-}/app.log" ]; then
        mkdir -p "$E2E_ARTIFACTS"
        cp "$E2E_HOME/app.log" "$E2E_ARTIFACTS/$(basename "$0" .sh)-app.log"
    fi
    [ -n "${APP_PID:-}" ] && kill "$APP_PID" 2>/dev/null || true
    [ -n "${XVFB_PID:-}" ] && kill "$XVFB_PID" 2>/dev/null || true
    [ -n "${E2E_HOME:-}" ] && rm -rf "$E2E_HOME"
}

# A fresh HOME and a display of our own. The record files go to E2E_RECORD_DIR: the program's
# folder on drive c, ~/lrnfiles on Linux; one named from outside (a Wine prefix's) is emptied.
e2e_start() {
    E2E_HOME=$(mktemp -d)
    export HOME=$E2E_HOME
    if [ -n "${E2E_RECORD_DIR:-}" ]; then
        rm -rf "$E2E_RECORD_DIR"
    else
        E2E_RECORD_DIR=$HOME/lrnfiles
    fi
    trap e2e_stop EXIT
    local fifo=$E2E_HOME/.display
    Xvfb -displayfd 3 -screen 0 1280x1024x24 -nolisten tcp -noreset 3>"$fifo" 2>/dev/null &
    XVFB_PID=$!
    until [ -s "$fifo" ]; do
        kill -0 "$XVFB_PID" 2>/dev/null || fail "Xvfb did not start"
        sleep 0.05
    done
    export DISPLAY=":$(head -n1 "$fifo")"
    unset QT_QPA_PLATFORM
}

e2e_launch() {
    "$APP" >"$E2E_HOME/app.log" 2>&1 &
    APP_PID=$!
}

# Starts the program at home for Ann Lee (initials AJL) on assignment 1 and waits for its window.
e2e_launch_as_ann() {
    e2e_launch
    answer_input_box 1
    answer_input_box "Ann Lee"
    answer_input_box AJL
    answer_input_box 1
    wait_window Form1 >/dev/null
}

# Polls a command until it succeeds, for at most E2E_TIMEOUT seconds.
wait_until() {
    local what=$1; shift
    local deadline=$((SECONDS + E2E_TIMEOUT))
    until "$@" >/dev/null 2>&1; do
        [ $SECONDS -lt $deadline ] || fail "timed out waiting for $what"
        sleep 0.05
    done
}

# As wait_until, but a time-out is an answer (false), not a failure.
wait_until_quietly() {
    local deadline=$((SECONDS + E2E_TIMEOUT))
    until "$@" >/dev/null 2>&1; do
        [ $SECONDS -lt $deadline ] || return 1
        sleep 0.05
    done
}

visible_window() { xdotool search --onlyvisible --name "^$1\$" 2>/dev/null | head -n1; }
has_window() { [ -n "$(visible_window "$1")" ]; }
no_window() { [ -z "$(visible_window "$1")" ]; }
window_is_gone() { ! xwininfo -id "$1" 2>/dev/null | grep -q IsViewable; }

# The visible window of that title, once it is there.
wait_window() {
    wait_until "window '$1'" has_window "$1"
    visible_window "$1"
}

program_running() { kill -0 "$APP_PID" 2>/dev/null; }
program_ended() { ! program_running; }
wait_program_end() { wait_until "the program to end" program_ended; }

# Types the answer into the input box on screen and presses Enter.
answer_input_box() {
    local box
    box=$(wait_window "Assignment Desk")
    [ -n "$1" ] && xdotool type --delay 2 -- "$1"
    xdotool key Return
    wait_until "the input box to close" window_is_gone "$box"
}

CLIPBOARD_MARK="(clipboard not yet written)"
clipboard() { xclip -o -selection clipboard -t UTF8_STRING 2>/dev/null; }
clipboard_changed() { [ "$(clipboard)" != "$CLIPBOARD_MARK" ]; }

# Copies the whole text of the focused text control to the clipboard and prints it. An empty
# control copies nothing, so the clipboard keeps the mark a while: that reads as the empty text.
copy_focused_text() {
    printf '%s' "$CLIPBOARD_MARK" | xclip -selection clipboard >/dev/null 2>&1
    xdotool key ctrl+a ctrl+c
    if E2E_TIMEOUT=2 wait_until_quietly clipboard_changed; then
        clipboard
    fi
}

# The text of the message box on screen; the box is then closed with OK (Enter). A message is
# never empty: on a busy machine the first click may come before the box takes it, so the text
# is clicked into and copied again until it is there.
read_and_close_message_box() {
    local box X Y WIDTH HEIGHT SCREEN WINDOW text="" deadline=$((SECONDS + E2E_TIMEOUT))
    box=$(wait_window "Assignment Desk")
    until [ -n "$text" ]; do
        [ $SECONDS -lt $deadline ] || fail "the message box showed no text"
        eval "$(xdotool getwindowgeometry --shell "$box")"
        xdotool mousemove $((X + WIDTH / 2)) $((Y + 20)) click 1
        text=$(copy_focused_text)
    done
    printf '%s\n' "$text"
    xdotool key Return
    wait_until "the message box to close" window_is_gone "$box"
}

# Centre of each control in the main window, in pixels from the top-left of its client area
# (the controls' places in twips divided by 15).
declare -A CONTROL_AT=(
    [cmdNextQuestion]="48 24"
    [cmd_quit]="704 16"
    [cmd_enter_response]="404 32"
    [cmd_save_as_notes]="460 32"
    [cmd_display_note_file]="328 32"
    [cmd_displayCumulativeText]="268 32"
    [cmd_clear_answer_box]="580 32"
    [cmd_next_picture]="108 520"
    [cmd_copy_picture]="108 560"
    [cmd_pend_exp]="592 516"
    [cmd_timerTrigger]="184 520"
    [txt_question]="188 200"
    [txt_answer]="544 200"
)

main_window() { visible_window "Form1"; }

click_control() {
    local main X Y WIDTH HEIGHT SCREEN WINDOW
    main=$(main_window)
    [ -n "$main" ] || fail "no main window to click $1 in"
    eval "$(xdotool getwindowgeometry --shell "$main")"
    read -r cx cy <<<"${CONTROL_AT[$1]:?unknown control $1}"
    xdotool mousemove $((X + cx)) $((Y + cy)) click 1
}

# The whole text of a text box, as the clipboard gives it.
read_box() {
    click_control "$1"
    copy_focused_text
}

# Replaces the whole text of a text box by typing; "\n" in the text is the Enter key.
type_into_box() {
    click_control "$1"
    xdotool key ctrl+a BackSpace
    local first=1 line
    while IFS= read -r line; do
        [ $first -eq 1 ] || xdotool key Return
        [ -n "$line" ] && xdotool type --delay 2 -- "$line"
        first=0
    done <<<"$(printf '%b' "$2")"
}

# A record file with the clock's readings and the random code lines masked, for comparing.
masked() {
    sed -E -e 's/[0-9]{2}-[0-9]{2}-[0-9]{4}/mm-dd-yyyy/g' -e 's/[0-9]{2}:[0-9]{2}:[0-9]{2}/hh:mm:ss/g' "$1" |
        awk 'BEGIN { RS = "\r\n"; ORS = "\r\n" }
             { lines[NR] = $0 }
             END { for (i = 1; i <= NR; i++) {
                       if (i < NR && index(lines[i + 1], "Student Name:  ") == 1) print "<code line>";
                       else print lines[i] } }'
}

# Counts the pixels that are not white in a rectangle (x y width height) of the main window.
non_white_pixels() {
    import -window "$(main_window)" png:- |
        convert png:- -crop "$3x$4+$1+$2" +repage -fill black +opaque white \
            -format '%[fx:round(w*h*(1-mean))]' info:
}

# Saves a picture of the main window.
screenshot() {
    import -window "$(main_window)" "$1"
}
