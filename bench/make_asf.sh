#!/bin/sh
# Writes a synthetic ASF skeleton of N bones to standard output: a tree in
# which bone i (from 1) hangs from bone i / 4 (bone 0 being the root), so
# every bone but the leaves has four children. Every bone has a direction,
# a length, an axis and three rotational dofs with limits.
#   make_asf.sh [N] > out.asf        (N defaults to 10000)
set -eu
bones=${1:-10000}
case $bones in
  ''|*[!0-9]*) echo "make_asf.sh: bones must be a number" >&2; exit 2 ;;
esac
awk -v bones="$bones" '
  function name(i) { return i == 0 ? "root" : "b" i }
  BEGIN {
    print "# synthetic skeleton of " bones " bones"
    print ":version 1.10"
    print ":name synthetic"
    print ":units"
    print "  mass 1.0"
    print "  length 0.45"
    print "  angle deg"
    print ":documentation"
    print "   a tree of four children per bone"
    print ":root"
    print "   order TX TY TZ RX RY RZ"
    print "   axis XYZ"
    print "   position 0 0 0"
    print "   orientation 0 0 0"
    print ":bonedata"
    for (i = 1; i <= bones; i++) {
      print "  begin"
      print "     id " i
      print "     name " name(i)
      printf "     direction %g %g %g\n", (i % 3) - 1, 0.5, (i % 5) / 5
      printf "     length %g\n", 1 + (i % 7) / 10
      printf "     axis %d %d %d XYZ\n", i % 90, (i * 7) % 90, (i * 13) % 90
      print "    dof rx ry rz"
      print "    limits (-160.0 20.0)"
      print "           (-70.0 70.0)"
      print "           (-60.0 70.0)"
      print "  end"
    }
    print ":hierarchy"
    print "  begin"
    for (p = 0; 4 * p + 1 <= bones; p++) {
      line = "    " name(p)
      for (c = 4 * p + 1; c <= 4 * p + 4 && c <= bones; c++) line = line " " name(c)
      print line
    }
    print "  end"
  }
'
