#!/bin/sh
# Writes a synthetic chain of N bones and a take of F frames for it:
# PREFIX.asf, in which bone i hangs from bone i - 1 (bone 1 from the root),
# and PREFIX.amc. Every bone has a direction, a length, a turned axis and
# the dofs DOFS ("rx ry rz" or "tx ty tz rx ry rz"); the root has a
# position and an orientation. The values are made from the frame and bone
# numbers, so the same arguments always give the same files.
#   make_chain.sh N F "DOFS" PREFIX
set -eu
if [ $# -ne 4 ]; then
  echo "usage: make_chain.sh bones frames dofs prefix" >&2
  exit 2
fi
bones=$1
frames=$2
dofs=$3
prefix=$4
for n in "$bones" "$frames"; do
  case $n in
    ''|*[!0-9]*) echo "make_chain.sh: bones and frames must be numbers" >&2; exit 2 ;;
  esac
done
awk -v bones="$bones" -v dofs="$dofs" "$(cat "$(dirname "$0")/asf_text.awk")"'
  BEGIN {
    ndof = split(dofs, d, " ")
    print_asf_header("synthetic chain of " bones " bones", "chain",
                     "a chain of bones, each hanging from the one before", "1.5 -2 3", "10 -20 30")
    limits = "    limits"
    for (k = 1; k <= ndof; k++) limits = limits (k == 1 ? " " : "           ") "(-180.0 180.0)\n"
    for (i = 1; i <= bones; i++) print_asf_bone(i, dofs, limits)
    print ":hierarchy"
    print "  begin"
    for (p = 0; p < bones; p++) print "    " name(p) " " name(p + 1)
    print "  end"
  }
' >"$prefix.asf"
awk -v bones="$bones" -v frames="$frames" -v dofs="$dofs" '
  BEGIN {
    ndof = split(dofs, d, " ")
    print "# synthetic take"
    print ":FULLY-SPECIFIED"
    print ":DEGREES"
    for (f = 1; f <= frames; f++) {
      print f
      printf "root %g %g %g %g %g %g\n", f % 11, -(f % 7), (f % 5) / 2, f % 90, -(f % 45), (f * 3) % 180
      for (i = 1; i <= bones; i++) {
        line = "b" i
        for (k = 1; k <= ndof; k++) {
          if (d[k] ~ /^t/) v = ((f + i * k) % 9 - 4) / 10
          else v = ((f * 7 + i * 13 + k * 31) % 360) - 180
          line = line " " v
        }
        print line
      }
    }
  }
' >"$prefix.amc"
