#!/bin/sh
# Writes a help2man include with the OPTIONS and COMMANDS sections made from
# the program's own --help and each command's --help, so the manual page lists
# every command's arguments and options as the program itself states them.
# Usage: commands.sh PROGRAM > commands.h2m
set -eu
program=$1

# Reads a --help text and prints its arguments and options as .TP items; with
# a command name, the command's synopsis and summary first, its items indented
# below, and without the help option every command has.
items='
function roff(s) {
  gsub(/\\/, "\\e", s)
  gsub(/-/, "\\-", s)
  if (s ~ /^[.\047]/) s = "\\&" s
  return s
}
function add(line,    name, gap) {
  n++
  name = substr(line, 3)
  desc[n] = ""
  if (match(name, /  +/)) {
    desc[n] = substr(name, RSTART + RLENGTH)
    name = substr(name, 1, RSTART - 1)
  }
  gap = index(name, " ")
  head[n] = gap ? substr(name, 1, gap - 1) : name
  tail[n] = gap ? substr(name, gap + 1) : ""
  if (head[n] ~ /^-/) options++
}
NR == 1 { summary = $0; next }
/^Usage: / { args = $0; sub(".* " command " ?", "", args); next }
/^[A-Z][A-Za-z ]*:$/ { listed = ($0 == "Positionals:" || $0 == "Options:"); next }
/^  [^ ]/ {
  keep = listed && !(command != "" && $1 ~ /^-h,--help/)
  if (keep) add($0)
  next
}
/^   / { if (keep) { sub(/^ +/, ""); desc[n] = desc[n] (desc[n] == "" ? "" : " ") $0 }; next }
/^$/ { next }
{ if (NR > 2) notes = notes (notes == "" ? "" : " ") $0 }
END {
  if (command != "") {
    if (options == 0) sub(/^\[OPTIONS\] ?/, "", args)
    print ".TP"
    print "\\fB" roff(command) "\\fR" (args == "" ? "" : " " roff(args))
    print roff(summary)
    if (notes != "") { print ".br"; print roff(notes) }
    if (n > 0) print ".RS"
  }
  for (i = 1; i <= n; i++) {
    print ".TP"
    print "\\fB" roff(head[i]) "\\fR" (tail[i] == "" ? "" : " " roff(tail[i]))
    print roff(desc[i])
  }
  if (command != "" && n > 0) print ".RE"
}'

echo "[=OPTIONS]"
"$program" --help | awk -v command= "$items"
echo
echo "[COMMANDS]"
"$program" --help | sed -n '/^Subcommands:/,/^$/s/^  \([a-z][a-z-]*\) .*/\1/p' | while read -r command; do
  "$program" "$command" --help | awk -v command="$command" "$items"
done
