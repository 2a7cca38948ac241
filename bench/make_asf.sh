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
awk -v bones="$bones" "$(cat "$(dirname "$0")/asf_text.awk")"'
  BEGIN {
    print_asf_header("synthetic skeleton of " bones " bones", "synthetic",
                     "a tree of four children per bone", "0 0 0", "0 0 0")
    limits = "    limits (-160.0 20.0)\n           (-70.0 70.0)\n           (-60.0 70.0)\n"
    for (i = 1; i <= bones; i++) print_asf_bone(i, "rx ry rz", limits)
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
