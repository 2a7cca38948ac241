#!/bin/sh
# Writes an AMC take of N frames to standard output by cycling the frames of
# a source take (lambada's by default), numbered 1 to N, under the source's
# header lines.
#   make_amc.sh N [source.amc] > out.amc
set -eu
if [ $# -lt 1 ] || [ $# -gt 2 ]; then
  echo "usage: make_amc.sh frames [source.amc]" >&2
  exit 2
fi
frames=$1
here=$(cd "$(dirname "$0")" && pwd)
source=${2:-$here/../data/cmu/lambada.amc}
case $frames in
  ''|*[!0-9]*) echo "make_amc.sh: frames must be a number" >&2; exit 2 ;;
esac
awk -v frames="$frames" '
  # The header: every line before the first frame number.
  !started && /^[ \t]*[0-9]/ { started = 1 }
  !started { print; next }
  /^[ \t]*[0-9]/ { n++; next }
  { body[n] = body[n] $0 "\n" }
  END {
    if (n == 0) { print "make_amc.sh: the source has no frames" > "/dev/stderr"; exit 1 }
    for (i = 1; i <= frames; i++) {
      print i
      printf "%s", body[(i - 1) % n + 1]
    }
  }
' "$source"
