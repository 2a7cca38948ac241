# The parts of a synthetic ASF skeleton that the bench generators share,
# put in front of a generator's own awk program.
function name(i) { return i == 0 ? "root" : "b" i }

# The header up to and including ":bonedata".
function print_asf_header(title, skeleton, documentation, position, orientation) {
  print "# " title
  print ":version 1.10"
  print ":name " skeleton
  print ":units"
  print "  mass 1.0"
  print "  length 0.45"
  print "  angle deg"
  print ":documentation"
  print "   " documentation
  print ":root"
  print "   order TX TY TZ RX RY RZ"
  print "   axis XYZ"
  print "   position " position
  print "   orientation " orientation
  print ":bonedata"
}

# Bone i's block: a direction, a length and a turned axis made from i, the
# dofs as given and the limits text as given (one "(min max)" line a dof).
function print_asf_bone(i, dofs, limits) {
  print "  begin"
  print "     id " i
  print "     name " name(i)
  printf "     direction %g %g %g\n", (i % 3) - 1, 0.5, (i % 5) / 5
  printf "     length %g\n", 1 + (i % 7) / 10
  printf "     axis %d %d %d XYZ\n", i % 90, (i * 7) % 90, (i * 13) % 90
  print "    dof " dofs
  printf "%s", limits
  print "  end"
}
