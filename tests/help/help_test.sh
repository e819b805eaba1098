#!/usr/bin/env bash
# What a person reads at 80 columns: every line of the programs' --help and of each manual page
# as man shows it fits (a full-width character counts two), each page has the sections a manual
# page has, names the options as they are typed, and man and lexgrog find nothing wrong in it.
#   help_test.sh BIN_DIR MAN_DIR
set -uo pipefail
bin=$1
pages=$2
work=$(mktemp -d)
trap 'rm -rf "$work"' EXIT
status=0
fail() {
  echo "help: $*" >&2
  status=1
}
# Prints the lines of FILE wider than 80 columns, with their width.
too_wide() {
  python3 - "$1" <<'PY'
import sys, unicodedata
for n, line in enumerate(open(sys.argv[1], encoding="utf-8").read().splitlines(), 1):
    width = sum(2 if unicodedata.east_asian_width(c) in "WF" else 1 for c in line)
    if width > 80:
        print(f"{n}: {width} columns: {line}")
PY
}
# The folders a copy names at the end of vantrel-cli --help are as long as they are.
for program in vantrel-cli vantrel-target; do
  "$bin/$program" --help | sed '/^Folders of this copy/,$d' >"$work/$program.help" ||
    fail "$program --help failed"
  wide=$(too_wide "$work/$program.help")
  [ -z "$wide" ] || fail "$program --help has lines over 80 columns:"$'\n'"$wide"
done

if ! command -v man >/dev/null || ! command -v lexgrog >/dev/null; then
  echo "help: no man or lexgrog here (package man-db): the manual pages are not looked at" >&2
  exit "$status"
fi
export LC_ALL=C.UTF-8 MANWIDTH=80
for page in vantrel vantrel-cli vantrel-target; do
  file=$pages/$page.1.gz
  [ -s "$file" ] || { fail "no manual page $file"; continue; }
  man --warnings -l -P cat "$file" >"$work/$page.txt" 2>"$work/$page.err" ||
    fail "man could not show $file"
  [ ! -s "$work/$page.err" ] || fail "man warns about $page.1: $(cat "$work/$page.err")"
  lexgrog "$file" >/dev/null || fail "lexgrog finds no NAME line in $page.1"
  wide=$(too_wide "$work/$page.txt")
  [ -z "$wide" ] || fail "man $page at 80 columns has lines over 80 columns:"$'\n'"$wide"
  for section in NAME SYNOPSIS DESCRIPTION OPTIONS "EXIT STATUS" ENVIRONMENT FILES EXAMPLES; do
    grep -qx "$section" "$work/$page.txt" || fail "man $page has no section $section"
  done
done
# The options as a user types them, with plain hyphens, each one with its own entry.
for option in "--port PORT" "--serial-file FILE" "--list-ports"; do
  grep -q -- "^       $option" "$work/vantrel-cli.txt" || fail "man vantrel-cli has no entry for $option"
done
grep -q -- "^       --fault-hang-up K" "$work/vantrel-target.txt" ||
  fail "man vantrel-target has no entry for --fault-hang-up"
exit "$status"
