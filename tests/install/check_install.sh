#!/usr/bin/env bash
# Installs the build into a fresh prefix and checks the installed tree:
#   check_install.sh <cmake> <build dir> <prefix> <source dir>
# bin/skelconv, bin/motconv and bin/motview are there and executable, the
# manual pages are in share/man/man1 as written, and the installed programs
# run from the prefix: without arguments each prints its usage text and
# exits with 0, and the installed skelconv converts the bundled sample
# skeleton.
set -u

source "$(dirname "$0")/install_steps.sh" "$@"

for program in skelconv motconv motview; do
  [ -f "$prefix/bin/$program" ] || fail "bin/$program is not installed"
  [ -x "$prefix/bin/$program" ] || fail "bin/$program is not executable"
done
for page in skelconv.1 motconv.1 motview.1; do
  installed="$prefix/share/man/man1/$page"
  if [ ! -f "$installed" ]; then
    fail "share/man/man1/$page is not installed"
  elif ! cmp -s "$installed" "$source/man/$page"; then
    fail "share/man/man1/$page differs from man/$page"
  fi
done
[ "$failures" -eq 0 ] || exit 1

# Runs an installed program from a directory outside the build tree and
# compares its standard output, standard error and exit status.
work="$prefix/work"
mkdir -p "$work"
expect_run() {
  local name=$1 want_out=$2 want_err=$3 want_status=$4
  shift 4
  local status=0
  (cd "$work" && "$@" >"$work/$name.out" 2>"$work/$name.err" </dev/null) || status=$?
  [ "$status" -eq "$want_status" ] || fail "$name: exit status $status, expected $want_status"
  if ! diff <(printf '%s' "$want_out") "$work/$name.out" >"$work/$name.diff"; then
    fail "$name: standard output differs (< expected, > actual):"
    cat "$work/$name.diff"
  fi
  if ! diff <(printf '%s' "$want_err") "$work/$name.err" >"$work/$name.diff"; then
    fail "$name: standard error differs (< expected, > actual):"
    cat "$work/$name.diff"
  fi
}

skelconv_usage=$'\nUSAGE\n     skelconv [-h] [-copyright] [-f] [-p <prefix>] <asf file> <mel file>\n\nVERSION\n     1.1\n\nRELEASED\n     December 16, 1998\n\n'
motconv_usage=$'\nUSAGE\n     motconv [-h] [-copyright] [-f] [-p <prefix>]\n             [-filter "<filter_name> [<filter_name2> ...]"]\n             [-capture <rate>]\n             <asf_file> <amc_file> <fps> <mel_file> <mov_file>\n\nVERSION\n  1.1\n\n'
motview_usage=$'\nUSAGE\n     motview [-h] [-copyright] [-f] [-frames <list>] [-step <n>]\n             <joint_mel> <import_mel> <mov_file> <output>\n\nVERSION\n     1.1\n\n'

expect_run skelconv-usage "$skelconv_usage" "" 0 "$prefix/bin/skelconv"
expect_run motconv-usage "$motconv_usage" "" 0 "$prefix/bin/motconv"
expect_run motview-usage "$motview_usage" "" 0 "$prefix/bin/motview"
expect_run skelconv-bad-option "" $'\nERROR: Invalid option -x\n\n' 1 "$prefix/bin/skelconv" -x

# A conversion with the installed skelconv: the progress lines and the
# root joint of the sample, whose root is at the origin, unrotated, with
# the dofs TX TY TZ RX RY RZ.
asf="$source/data/cmu/charleston.asf"
status=0
(cd "$work" && "$prefix/bin/skelconv" -f "$asf" charleston.mel >convert.out 2>convert.err </dev/null) ||
  status=$?
[ "$status" -eq 0 ] || fail "conversion: exit status $status, expected 0"
[ -s "$work/convert.err" ] && fail "conversion: unexpected standard error: $(cat "$work/convert.err")"
want_progress="Reading file: $asf ...done.
Writing \"charleston.mel\"...done."
[ "$(tail -n 2 "$work/convert.out")" = "$want_progress" ] ||
  fail "conversion: progress lines differ: $(tail -n 2 "$work/convert.out")"
want_head='select -cl;
joint -name root -position 0 0 0 -rotationOrder xyz -dof "xyz" -orientation 0 0 0;
addAttr -dt "string" -sn tdof -ln translateDegreesOfFreedom root;
setAttr root.tdof -type "string" "xyz";'
if [ -f "$work/charleston.mel" ]; then
  [ "$(head -n 4 "$work/charleston.mel")" = "$want_head" ] ||
    fail "conversion: the script does not begin with the root joint: $(head -n 4 "$work/charleston.mel")"
else
  fail "conversion: charleston.mel was not written"
fi

[ "$failures" -eq 0 ] || exit 1
echo "install tree complete under $prefix"
