#!/usr/bin/env bash
# The contact sheet the README shows, doc/charleston.svg, is what motview
# makes today of the files the README's first commands make:
#   check_contact_sheet.sh SOURCE_DIR WORK_DIR SKELCONV MOTCONV MOTVIEW
# It runs the three programs as the README does, in a scratch folder (the
# sheet's title names out/charleston.mel and the others as given), and
# compares the sheet with the committed one byte for byte.
set -u
source_dir=$1
work=$2
skelconv=$3
motconv=$4
motview=$5

rm -rf "$work"
mkdir -p "$work/out"
cd "$work" || exit 1
cmu=$source_dir/data/cmu
if ! { "$skelconv" -f "$cmu/charleston.asf" out/charleston.mel &&
  "$motconv" -f -p "" "$cmu/charleston.asf" "$cmu/charleston1.amc" 60 \
    out/charleston_import.mel out/charleston.mov &&
  "$motview" -f out/charleston.mel out/charleston_import.mel out/charleston.mov \
    out/charleston.svg; } >log.txt 2>&1; then
  echo "the README's commands failed:"
  cat log.txt
  exit 1
fi
if ! cmp -s out/charleston.svg "$source_dir/doc/charleston.svg"; then
  echo "doc/charleston.svg is not what motview makes today; make it again with"
  echo "the README's commands (out/charleston.svg) and commit it. The differences:"
  diff "$source_dir/doc/charleston.svg" out/charleston.svg | head -n 20
  exit 1
fi
echo "doc/charleston.svg is what motview makes"
