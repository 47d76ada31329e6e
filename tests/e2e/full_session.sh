#!/usr/bin/env bash
# A whole session on assignment 001: start, every paragraph, a response on two lines, a note,
# "display notes", "display everything", "quit program"; the record files compared byte for byte
# apart from the clock's readings and the random code line.
source "$(dirname "$0")/e2e_lib.sh"
here=$(dirname "$0")

e2e_start
e2e_launch
answer_input_box 1
answer_input_box "Ann Lee"
answer_input_box AJL
answer_input_box 1

main=$(wait_window Form1)
eval "$(xdotool getwindowgeometry --shell "$main")"
[ "$WIDTH" = 725 ] && [ "$HEIGHT" = 573 ] || fail "window is ${WIDTH}x$HEIGHT, not 725x573"
[ "$(read_box txt_question)" = "" ] || fail "question box not empty at start"

paragraphs=(
    "Go to the incline set up at the picnic tables and time the ball as it rolls halfway down the incline and as it runs the whole distance down the incline."
    "GIve the times you obtained and how you obtained them."
    "Calculate the average rate of change of position with respect to clock time for the first run and for the second, given that the length of the incline is about 190 cm."
    "Calculate the average rate of change of velocity with respect to clock time for the first run and for the second."
    "Sketch a graph of velocity vs. clock time for the run down the first half of the incline.  What is the area under your graph and what does it mean?"
    "Sketch a graph of velocity vs. clock time for the run down the first entire incline.  What is the area under your graph and what does it mean?"
)

# First paragraph, answered on two lines.
click_control cmdNextQuestion
[ "$(read_box txt_question)" = "${paragraphs[0]}" ] || fail "first paragraph not shown"
type_into_box txt_answer "about 2 s halfway\nabout 3 s whole way"
click_control cmd_enter_response
[ "$(read_box txt_question)" = "" ] || fail "question box not emptied by Enter Response"

# Second paragraph, saved as a note.
click_control cmdNextQuestion
[ "$(read_box txt_question)" = "${paragraphs[1]}" ] || fail "second paragraph not shown"
type_into_box txt_answer "stopwatch on my phone"
click_control cmd_save_as_notes

# The rest, one answer each.
for i in 2 3 4 5; do
    click_control cmdNextQuestion
    [ "$(read_box txt_question)" = "${paragraphs[$i]}" ] || fail "paragraph $((i + 1)) not shown"
    type_into_box txt_answer "OK $((i + 1))"
    click_control cmd_enter_response
done

# Past the last paragraph: the end-of-assignment message, and the program goes on.
click_control cmdNextQuestion
message=$(read_and_close_message_box)
case "$message" in
"You have reached the end of this assignment: there are no more paragraphs."*) ;;
*) fail "unexpected message: $message" ;;
esac
program_running || fail "the program ended after the last paragraph"

click_control cmd_display_note_file
notes=$(read_box txt_question)
case "$notes" in *"NOTES -------> stopwatch on my phone"*) ;; *) fail "display notes shows: $notes" ;; esac

click_control cmd_displayCumulativeText
if [ -n "${E2E_ARTIFACTS:-}" ]; then
    mkdir -p "$E2E_ARTIFACTS"
    screenshot "$E2E_ARTIFACTS/window.png"
fi
transcript=$(read_box txt_question)
case "$transcript" in " YOUR ANSWER  ->->->->  OK 6 <-<-<-<-  Q/A:   Sketch a graph"*) ;; *) fail "display everything shows: ${transcript:0:200}" ;; esac

[ "$(xdotool getwindowname "$main")" = Form1 ] || fail "window title changed"

click_control cmd_quit
wait_program_end

dir=$E2E_RECORD_DIR
send=$(ls "$dir"/send_*Ann_Lee.txt)
[ "$(basename "$send")" = "send_$(date +%m%d)Ann_Lee.txt" ] || fail "send file named $(basename "$send")"
if [ -n "${E2E_ARTIFACTS:-}" ]; then
    masked "$dir/masterFile_Ann_Lee.txt" >"$E2E_ARTIFACTS/masterFile.txt"
    masked "$send" >"$E2E_ARTIFACTS/send.txt"
    masked "$dir/notes_Ann_Lee.txt" >"$E2E_ARTIFACTS/notes.txt"
fi
cmp <(masked "$dir/masterFile_Ann_Lee.txt") "$here/expected/masterFile.txt" || fail "master file differs"
cmp <(masked "$send") "$here/expected/send.txt" || fail "send file differs"
cmp <(masked "$dir/notes_Ann_Lee.txt") "$here/expected/notes.txt" || fail "notes file differs"
# The check commands named (the other system's too) find every file whole.
for check in ${E2E_CHECKS:-}; do
    "$check" "$dir/masterFile_Ann_Lee.txt" "$send" "$dir/notes_Ann_Lee.txt" >/dev/null ||
        fail "$check finds the files not whole"
done
echo "full session: ok"
