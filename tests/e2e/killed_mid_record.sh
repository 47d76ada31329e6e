#!/usr/bin/env bash
# The real program killed while it writes a large answer (a pasted table of 4 MB) into the record
# files: a logout (SIGTERM) lets the record finish first; a crash (SIGKILL) leaves it half
# written, and the next start takes it back out before it writes its own header. Afterwards every
# block is whole in both files, or in neither.
source "$(dirname "$0")/e2e_lib.sh"

e2e_start
dir=$HOME/lrnfiles
master=$dir/masterFile_Ann_Lee.txt
journal=$dir/.desk-journal_Ann_Lee
table=$E2E_HOME/table.txt
rows=100000
awk -v rows=$rows 'BEGIN { for (i = 0; i < rows; i++) printf "  run %6d   t = 1.%03d s   d = 95.0 cm\r\n", i, i % 1000 }' >"$table"

size_of() { stat -c %s "$1" 2>/dev/null || echo 0; }

# Pastes the table as the answer, clicks Enter Response and sends the signal the moment the
# block is in the master file: while the send file is still being written. Leaves the program's
# exit status in $status.
record_table_and_kill() {
    local signal=$1 before deadline
    before=$(size_of "$master")
    click_control cmdNextQuestion
    xclip -selection clipboard -i "$table" >/dev/null 2>&1
    click_control txt_answer
    xdotool key ctrl+a ctrl+v
    click_control cmd_enter_response
    deadline=$((SECONDS + E2E_TIMEOUT))
    until [ "$(size_of "$master")" -gt $((before + 1000000)) ]; do
        [ $SECONDS -lt $deadline ] || fail "the table never reached the master file"
    done
    kill -"$signal" "$APP_PID"
    status=0
    wait "$APP_PID" || status=$?
    APP_PID=
}

# Counts of what a record file holds: headers, responses, whole rows of the table, torn rows.
contents() {
    printf '%s headers, %s responses, %s rows, %s torn rows\n' \
        "$(grep -c '^Student Name:  Ann Lee' "$1")" "$(grep -c '^RESPONSE -->  ' "$1")" \
        "$(grep -c '^  run .* cm'$'\r''$' "$1")" "$(grep '^  run ' "$1" | grep -vc ' cm'$'\r''$')"
}

e2e_launch_as_ann
record_table_and_kill TERM
[ "$status" = 143 ] || fail "the program did not end by SIGTERM (status $status)"
[ ! -s "$journal" ] || fail "a logout left a record under way in the rollback journal"
send=$(ls "$dir"/send_*Ann_Lee.txt)
for file in "$master" "$send"; do
    [ "$(contents "$file")" = "1 headers, 1 responses, $rows rows, 0 torn rows" ] ||
        fail "after SIGTERM $(basename "$file") holds $(contents "$file")"
done

# On a busy machine the kill may come only after the record is done: then that record counts,
# and the kill is tried again on a new one.
headers=1 responses=1
for attempt in 1 2 3 4 5; do
    e2e_launch_as_ann
    headers=$((headers + 1))
    record_table_and_kill KILL
    [ "$status" = 137 ] || fail "the program did not end by SIGKILL (status $status)"
    [ -s "$journal" ] && break
    responses=$((responses + 1))
done
[ -s "$journal" ] || fail "SIGKILL came after the record was done, five times"

e2e_launch_as_ann
headers=$((headers + 1))
click_control cmd_quit
wait_program_end
[ ! -s "$journal" ] || fail "the next start left the interrupted record in the rollback journal"
for file in "$master" "$send"; do
    [ "$(contents "$file")" = "$headers headers, $responses responses, $((rows * responses)) rows, 0 torn rows" ] ||
        fail "after SIGKILL and a new start $(basename "$file") holds $(contents "$file")"
    tail -c 2 "$file" | od -An -c | grep -q '\\r  *\\n' || fail "$(basename "$file") ends in a torn line"
    tail -n 1 "$file" | grep -q '^Date and Time ' || fail "$(basename "$file") does not end with the new header"
done
echo "killed mid-record: ok"
