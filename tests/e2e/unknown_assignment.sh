#!/usr/bin/env bash
# An assignment that is not in the bank: the invalid-assignment message, then the program ends
# before its window is shown and before any record file is touched.
source "$(dirname "$0")/e2e_lib.sh"

e2e_start
e2e_launch
answer_input_box 1
answer_input_box "Ann Lee"
answer_input_box AJL
answer_input_box 2

message=$(read_and_close_message_box)
case "$message" in
"You have probably not entered a valid assignment number."*"'subscript out of range' error") ;;
*) fail "unexpected message: $message" ;;
esac
wait_program_end
no_window Form1 || fail "the main window was shown"
[ -z "$(ls -A "$HOME/lrnfiles")" ] || fail "record files were written: $(ls "$HOME/lrnfiles")"
echo "unknown assignment: ok"
