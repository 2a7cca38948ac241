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
awk -v bones="$bones" -v dofs="$dofs" '
  function name(i) { return i == 0 ? "root" : "b" i }
  BEGIN {
    ndof = split(dofs, d, " ")
    print "# synthetic chain of " bones " bones"
    print ":version 1.10"
    print ":name chain"
    print ":units"
    print "  mass 1.0"
    print "  length 0.45"
    print "  angle deg"
    print ":documentation"
    print "   a chain of bones, each hanging from the one before"
    print ":root"
    print "   order TX TY TZ RX RY RZ"
    print "   axis XYZ"
    print "   position 1.5 -2 3"
    print "   orientation 10 -20 30"
    print ":bonedata"
    for (i = 1; i <= bones; i++) {
      print "  begin"
      print "     id " i
      print "     name " name(i)
      printf "     direction %g %g %g\n", (i % 3) - 1, 0.5, (i % 5) / 5
      printf "     length %g\n", 1 + (i % 7) / 10
      printf "     axis %d %d %d XYZ\n", i % 90, (i * 7) % 90, (i * 13) % 90
      print "    dof " dofs
      printf "    limits"
      for (k = 1; k <= ndof; k++) printf "%s(-180.0 180.0)\n", k == 1 ? " " : "           "
      print "  end"
    }
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
