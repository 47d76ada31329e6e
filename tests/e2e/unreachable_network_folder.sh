#!/usr/bin/env bash
# A network user whose network folder cannot be reached: the header and every record show the
# general error message with 76, the program goes on, and nothing typed is lost.
source "$(dirname "$0")/e2e_lib.sh"

[ -e /mnt/i/bkp_000416 ] && { echo "skipped: /mnt/i/bkp_000416 exists on this machine"; exit 0; }

e2e_start
e2e_launch
answer_input_box 2
answer_input_box "Ann Lee"
answer_input_box AJL
answer_input_box 1

expect_error_76() {
    local message
    message=$(read_and_close_message_box)
    case "$message" in
    "You have encountered an error."*"The error is:  76") ;;
    *) fail "expected the error 76 message, got: $message" ;;
    esac
}

expect_error_76 # the header
wait_window Form1 >/dev/null

click_control cmdNextQuestion
type_into_box txt_answer "my answer"
click_control cmd_enter_response
expect_error_76
[ "$(read_box txt_answer)" = "my answer" ] || fail "the answer was lost after a failed Enter Response"
case "$(read_box txt_question)" in "Go to the incline"*) ;; *) fail "the question box was emptied" ;; esac

click_control cmd_save_as_notes
expect_error_76
[ "$(read_box txt_answer)" = "my answer" ] || fail "the note was lost after a failed Save as Notes"

click_control cmd_display_note_file
expect_error_76
program_running || fail "the program ended"

click_control cmd_quit
wait_program_end
echo "unreachable network folder: ok"
