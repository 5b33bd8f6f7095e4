#!/usr/bin/env bash
# The command-line conventions of a program: --help and --version answer on standard output and
# exit 0, without reading standard input or needing a display; an unknown option, or an argument
# too many, prints the usage on standard error and exits 2.
#
#     command_line.sh NAME VERSION TOO_MANY COMMAND ...
#
# NAME is what --version names (velt-headless), VERSION the build's, TOO_MANY a list of
# arguments the program refuses (blank-separated, as "one two three"), COMMAND the program (and
# the wine that starts it).
set -uo pipefail
name=${1:?} version=${2:?} too_many=${3:?}
shift 3
work=$(mktemp -d)
trap 'rm -rf "$work"' EXIT
failures=0
fail() {
    echo "FAIL: $*" >&2
    failures=$((failures + 1))
}

# Run ARGUMENTS...: status in $status, outputs (without CRs) in $work/out and $work/err. No
# display and an input that would be an error if it were read as a script.
run() {
    printf 'no such command\n' >"$work/in"
    env -u DISPLAY -u WAYLAND_DISPLAY -u QT_QPA_PLATFORM "$@" <"$work/in" >"$work/out.raw" \
        2>"$work/err.raw"
    status=$?
    tr -d '\r' <"$work/out.raw" >"$work/out"
    tr -d '\r' <"$work/err.raw" | grep -v '^[0-9a-f]*:\(fixme\|err\|warn\):' >"$work/err"
}

for option in --version -v; do
    run "$@" "$option"
    [ "$status" -eq 0 ] || fail "$option: exit status $status"
    [ "$(cat "$work/out")" = "$name $version" ] ||
        fail "$option: printed '$(cat "$work/out")', not '$name $version'"
done

for option in --help -h; do
    run "$@" "$option"
    [ "$status" -eq 0 ] || fail "$option: exit status $status"
    for word in "$name" --help --version; do
        grep -q -e "$word" "$work/out" || fail "$option: the usage lacks $word"
    done
    [ ! -s "$work/err" ] || fail "$option: wrote to standard error: $(cat "$work/err")"
done

# shellcheck disable=SC2086  # the refused arguments are split on purpose
for arguments in "--no-such-option" "-x" "$too_many"; do
    run "$@" $arguments
    [ "$status" -eq 2 ] || fail "$arguments: exit status $status, not 2"
    [ ! -s "$work/out" ] || fail "$arguments: wrote to standard output: $(cat "$work/out")"
    grep -q -e "--help" "$work/err" || fail "$arguments: no usage on standard error"
    first=${arguments%% *}
    first=${first#-}
    first=${first#-}
    grep -q -e "$first" "$work/err" || fail "$arguments: the error does not name $first"
done

[ "$failures" -eq 0 ] || exit 1
echo "$name: --help, --version and refused arguments as expected"
