#!/usr/bin/env bash
# "pend exp" draws circles on the left picture box: a picture of it is no longer blank.
source "$(dirname "$0")/e2e_lib.sh"

e2e_start
e2e_launch_as_ann

# The inner area of Picture1 (its place in twips divided by 15, less its 2-pixel frame).
picture1=(18 407 341 88)
[ "$(non_white_pixels "${picture1[@]}")" -eq 0 ] || fail "Picture1 is not blank before pend exp"

click_control cmd_timerTrigger
drawn() { [ "$(non_white_pixels "${picture1[@]}")" -gt 0 ]; }
if E2E_TIMEOUT=1 wait_until_quietly drawn; then fail "Trigger Timer started the circles"; fi

click_control cmd_pend_exp
wait_until "circles on Picture1" drawn
click_control cmd_copy_picture
program_running || fail "copy picture ended the program"
click_control cmd_quit
wait_program_end
echo "pend exp: ok"
