#!/usr/bin/env bash
# Runs one end-to-end case of velt-headless and checks what it did.
#
#     run_case.sh VELT_HEADLESS CASE.vhs WORKDIR
#
# A case is a velt-headless script whose comment lines starting with "#>" are directives for
# this runner; velt-headless skips them as comments, so the line numbers of the case are those
# of the script. WORKDIR is emptied first. In the whole case, @WORK@ stands for WORKDIR and
# @E2E@ for the folder of the case (tests/e2e).
#
# Before the run, in the order written:
#   #> set NAME ARG ...    makeset.py WORKDIR/NAME ARG ...: the diskette roots NAME/disk1 ...
#                          and NAME/card, what the card's \backup\single\ must then hold
#                          (see makeset.py for its options and files)
#   #> mkdir PATH ...      creates the folders
#   #> sh COMMAND          runs COMMAND with bash in WORKDIR (plant a fault, write a file ...)
#   #> session SCRIPT      runs velt-headless on SCRIPT (a file beside the case, placeholders
#                          filled in) as an earlier session; its output is kept in
#                          WORKDIR/SCRIPT.jsonl, and it must end with status 0
#
# After the run:
#   #> exit N              the exit status expected (default 0)
#   #> expect LINE         LINE must be an output line, after the line the previous expect
#                          matched: the expects appear in this order, others may lie between
#   #> expect-text TEXT    like expect, for a line that contains TEXT (a few keys of a state);
#                          the next expect may match the same line again
#   #> absent LINE         no output line is LINE
#   #> absent-text TEXT    no output line contains TEXT
#   #> same PATH1 PATH2    the two files, or the two folder trees, are the same byte for byte
#   #> missing PATH        nothing exists at PATH
#   #> check COMMAND       COMMAND, run with bash in WORKDIR, must succeed
#
# Everything velt-headless wrote is kept in WORKDIR/out.jsonl and WORKDIR/err.txt; on a
# failure the runner prints the output and says which directive failed. The requests the case's
# run made of its diskettes (images and devices) are in WORKDIR/blocks.txt, a line each:
# "first-sector count ok|failed".
set -uo pipefail

if [ $# -ne 3 ]; then
    echo "usage: run_case.sh VELT_HEADLESS CASE.vhs WORKDIR" >&2
    exit 2
fi
headless=$1
case_file=$2
work=$3
e2e=$(cd "$(dirname "$0")" && pwd)

case "$work" in
    "" | "/" | ".") echo "run_case.sh: refusing to empty the folder '$work'" >&2; exit 2 ;;
esac
if [ -e "$work" ]; then
    chmod -R u+rwx "$work" 2>/dev/null
    rm -rf "$work"
fi
mkdir -p "$work" || exit 2
work=$(cd "$work" && pwd)

failures=0
fail() {
    echo "FAIL: $*" >&2
    failures=$((failures + 1))
}

# The case with its placeholders filled in is the script velt-headless runs.
script="$work/script.vhs"
sed -e "s|@WORK@|$work|g" -e "s|@E2E@|$e2e|g" "$case_file" > "$script" || exit 2

# Directives: "#>" at the start of a line (blanks before it allowed), word, rest of the line.
directives=()
while IFS= read -r line || [ -n "$line" ]; do
    line=${line%$'\r'}
    trimmed=${line#"${line%%[![:space:]]*}"}
    [[ "$trimmed" == "#>"* ]] || continue
    directives+=("${trimmed#"#>"}")
done < "$script"

word_of() { local d=${1#"${1%%[![:space:]]*}"}; echo "${d%% *}"; }
rest_of() {
    local d=${1#"${1%%[![:space:]]*}"}
    [[ "$d" == *" "* ]] && d=${d#* } || d=""
    echo "${d#"${d%%[![:space:]]*}"}"
}

# ---- before the run ----
for d in "${directives[@]}"; do
    word=$(word_of "$d")
    rest=$(rest_of "$d")
    case "$word" in
        set)
            read -r -a args <<< "$rest"
            name=${args[0]}
            python3 "$e2e/makeset.py" "$work/$name" "${args[@]:1}" || { echo "set $rest failed" >&2; exit 2; }
            ;;
        mkdir)
            read -r -a args <<< "$rest"
            mkdir -p "${args[@]}" || exit 2
            ;;
        sh)
            (cd "$work" && bash -c "$rest") || { echo "sh $rest failed" >&2; exit 2; }
            ;;
        session)
            sed -e "s|@WORK@|$work|g" -e "s|@E2E@|$e2e|g" "$e2e/$rest" > "$work/$rest" || exit 2
            "$headless" "$work/$rest" > "$work/$rest.jsonl" 2>&1 ||
                { echo "session $rest failed:" >&2; cat "$work/$rest.jsonl" >&2; exit 2; }
            ;;
    esac
done

# ---- the run ----
rm -f "$work/blocks.txt"
VELT_TRACE_BLOCKS="$work/blocks.txt" "$headless" "$script" > "$work/out.jsonl" 2> "$work/err.txt"
status=$?
mapfile -t out < "$work/out.jsonl"

# ---- after the run ----
expected_status=0
next=0
for d in "${directives[@]}"; do
    word=$(word_of "$d")
    rest=$(rest_of "$d")
    case "$word" in
        set | mkdir | sh | session) ;;
        exit) expected_status=$rest ;;
        expect | expect-text)
            found=0
            while [ "$next" -lt "${#out[@]}" ]; do
                if [ "${out[$next]}" == "$rest" ] ||
                    { [ "$word" == expect-text ] && [[ "${out[$next]}" == *"$rest"* ]]; }; then
                    found=1
                    [ "$word" == expect ] && next=$((next + 1))
                    break
                fi
                next=$((next + 1))
            done
            [ "$found" -eq 1 ] || fail "$word, in order, not found: $rest"
            ;;
        absent)
            for o in "${out[@]}"; do
                [ "$o" == "$rest" ] && fail "must not appear: $rest"
            done
            ;;
        absent-text)
            for o in "${out[@]}"; do
                [[ "$o" == *"$rest"* ]] && fail "no line may contain: $rest"
            done
            ;;
        same)
            read -r -a args <<< "$rest"
            if [ ! -e "${args[0]}" ]; then
                fail "same: ${args[0]} does not exist"
            elif ! diff -r --no-dereference -q "${args[0]}" "${args[1]}" >&2; then
                fail "same: ${args[0]} and ${args[1]} differ"
            fi
            ;;
        missing)
            [ -e "$rest" ] || [ -L "$rest" ] && fail "missing: $rest exists"
            ;;
        check)
            (cd "$work" && bash -c "$rest") || fail "check failed: $rest"
            ;;
        *) fail "unknown directive: #>$d" ;;
    esac
done
[ "$status" -eq "$expected_status" ] || fail "exit status $status, expected $expected_status"

if [ "$failures" -gt 0 ]; then
    echo "---- output of velt-headless ($work/out.jsonl) ----" >&2
    cat "$work/out.jsonl" >&2
    if [ -s "$work/err.txt" ]; then
        echo "---- standard error ----" >&2
        cat "$work/err.txt" >&2
    fi
    exit 1
fi
exit 0
