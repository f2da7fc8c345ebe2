#!/bin/bash
# The bash completion of lumetra-cli, asked as bash asks it: the line up to
# the cursor, and the program named on it.
# Usage: completion.sh COMPLETION-FILE LUMETRA-CLI
set -u
. "$1"
cli=$(realpath "$2")
status=0

# Completes the line after the program's name; prints the candidates sorted.
complete_line()
{
    COMP_LINE="$cli $1"
    COMP_POINT=${#COMP_LINE}
    COMPREPLY=()
    _lumetra_cli
    printf '%s\n' "${COMPREPLY[@]}" | sort | tr '\n' ' ' | sed 's/ $//'
}
expect()
{
    local got
    got=$(complete_line "$1")
    if [ "$got" != "$2" ]; then
        echo "'$1' completes to '$got', expected '$2'"
        status=1
    fi
}
expect_among()
{
    local got
    got=" $(complete_line "$1") "
    for want in $2; do
        if [[ $got != *" $want "* ]]; then
            echo "'$1' completes to '$got', which lacks '$want'"
            status=1
        fi
    done
}

work=$(mktemp -d)
trap 'rm -rf "$work"' EXIT
cd "$work"
touch unit3.zqs BACKUP.ZQS notes.txt
mkdir saved

# Commands, and options of the program or of the command before the cursor.
expect_among "" "read write ports search upload download compare show new set describe monitor"
expect "--pa" "--parity"
expect "--trace --port sim:TQ dow" "download"
expect "monitor --log-" "--log-errors"
expect "read --p" ""
# Choices written in the help, and the few the help states in words.
expect "--protocol " "ascii rtu"
expect "--baud 96" "9600"
expect "--trace --parity " "even none odd"
expect "download --part " "A B all"
expect "new --type " "CQ DQ TQ XQ"
expect "--lang zh" "zh_CN zh_TW"
# Ports from the port table, with the mappings typed before; bash replaces
# only what follows the last ':' or '='.
expect_among "--com 3=/dev/null --port " "COM3 sim:DQ sim:TQ sim:CQ sim:XQ"
expect "--port sim:C" "CQ"
expect "--com 5=/dev/nul" "/dev/null"
# Settings files (any case of .zqs) and folders where a settings file goes.
expect "download " "BACKUP.ZQS saved unit3.zqs"
expect "--id 3 compare u" "unit3.zqs"
expect "upload -o " "BACKUP.ZQS saved unit3.zqs"
expect "monitor --log n" "notes.txt"
exit $status
