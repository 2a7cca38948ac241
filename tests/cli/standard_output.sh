#!/usr/bin/env bash
# What a program prints on standard output is checked like any output: when
# it cannot be written (/dev/full), the manual page (-h, --help), the
# version line (--version), the copyright notice (-copyright) and the
# banner of a conversion end the program with status 1 and an error
# paragraph with the system's reason; written to a file, the same runs end
# with 0.
#
#   standard_output.sh SKELCONV MOTCONV MOTVIEW CASES_DIR WORK_DIR
set -u
skelconv=$1
motconv=$2
motview=$3
cases=$4
work=$5
. "$(dirname "$0")/script_checks.sh"

if [ ! -w /dev/full ]; then
  echo "skipped: this test needs /dev/full"
  exit 77
fi

rm -rf "$work"
mkdir -p "$work"
cd "$work" || exit 1
cp "$cases/motconv/output-dev-null/in/"* .
cp "$cases/motview/sheet-of-a-small-take/in/"* .

expected=$'\n\nERROR: Unable to write to standard output.\n       No space left on device\n\n'
run() { # LABEL PROGRAM ARGS...
  local label=$1
  shift
  "$@" > text.txt 2> /dev/null
  expect_status "$label to a file" 0 $?
  "$@" > /dev/full 2> err.txt
  expect_status "$label to /dev/full" 1 $?
  expect_text "$label to /dev/full" "$expected" err.txt
}

for program in "$skelconv" "$motconv" "$motview"; do
  name=$(basename "$program")
  for option in -h --help --version -copyright; do
    run "$name $option" "$program" "$option"
  done
done
run "skelconv banner" "$skelconv" -f walk.asf walk.mel
run "motconv banner" "$motconv" -f walk.asf walk.amc 30 walk.mel walk.mov
run "motview banner" "$motview" -f s.mel t.mel t.mov sheet.svg

finish
