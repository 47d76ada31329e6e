#!/usr/bin/env bash
# The build refuses an assignment file that breaks the bank's conventions, naming the file and
# line, and compiles a good one character for character.
set -euo pipefail
compile_bank=${1:?compile_bank program}
work=$(mktemp -d)
trap 'rm -rf "$work"' EXIT
fail() { echo "FAIL: $*" >&2; exit 1; }

# refused NAME "EXPECTED MESSAGE PART" FILE=CONTENT...: the bank of those files must be refused.
refused() {
    local name=$1 expected=$2
    shift 2
    local dir=$work/$name
    mkdir -p "$dir"
    local files=()
    for entry in "$@"; do
        printf '%b' "${entry#*=}" > "$dir/${entry%%=*}"
        files+=("$dir/${entry%%=*}")
    done
    local message
    if message=$("$compile_bank" "$dir/out.cpp" "${files[@]}" 2>&1); then
        fail "$name: the bank was accepted"
    fi
    [[ $message == *"$expected"* ]] || fail "$name: expected \"$expected\" in: $message"
    [ ! -e "$dir/out.cpp" ] || fail "$name: source was written for a refused bank"
}

good='001.  Part A\n\nA paragraph.\n'
refused "header without number" "/002.txt:1: the first line must be the assignment's header" \
    "001.txt=$good" "002.txt=2.  Part B\n\ntext\n"
refused "header without title" "/002.txt:1: the first line must be" "001.txt=$good" "002.txt=002.  \n"
refused "number not the file's" "/002.txt:1: the header is assignment 003, but the file is named 002.txt" \
    "001.txt=$good" "002.txt=003.  Part B\n"
refused "file not named by number" "/2.txt: an assignment file is named after its three-digit number" \
    "2.txt=002.  Part B\n"
refused "gap between numbers" "/003.txt:1: assignment 003 follows 001" "001.txt=$good" "003.txt=003.  Part C\n"
refused "character Windows-1252 lacks" "/001.txt:3: the record files (Windows-1252) cannot hold \"→\" (U+2192)" \
    "001.txt=001.  Part A\n\nv → 0\n"
refused "not UTF-8" "/001.txt:2: is not UTF-8 text" "001.txt=001.  Part A\ncaf\\xe9\n"
refused "line taken for the next header" "/001.txt:3: a line that starts with 002 would end assignment 001" \
    "001.txt=001.  Part A\n\n002 kg is the mass\n"
refused "second header in a file" "/001.txt:2: only the first line may start with three digits" \
    "001.txt=001.  Part A\n005.  Part E\n"
refused "more than 5,000 lines" "the bank has room for 5000 lines in all, and this file takes it to 5001" \
    "001.txt=001.  Part A\n$(printf 'line\\n%.0s' $(seq 5000))"

# A good bank with Windows line ends, a byte-order mark and characters beyond ASCII: the
# source holds each line once, every character as itself.
mkdir -p "$work/good"
printf '\xef\xbb\xbf001.  Part A\r\n\r\n\xc2\xbd of v\xc2\xb2 \xe2\x82\xac "q" \\\r\n' > "$work/good/001.txt"
"$compile_bank" "$work/good/out.cpp" "$work/good/001.txt" || fail "a good bank was refused"
grep -qF 'u"001.  Part A"sv,' "$work/good/out.cpp" || fail "the header line is not in the source as it was"
grep -qF 'u"\275 of v\262 \u20ac \"q\" \\"sv,' "$work/good/out.cpp" || fail "a UTF-8 line was not compiled character for character"
[ "$(grep -c 'sv,$' "$work/good/out.cpp")" = 3 ] || fail "the good bank does not have its 3 lines"
echo "bank check: ok"
