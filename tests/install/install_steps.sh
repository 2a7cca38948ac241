# The start every install check shares, sourced with the check's own
# arguments, whose first four are always
#   <cmake> <build dir> <prefix> <source dir>
# It sets cmake, build, prefix and source from them, defines fail (which
# counts a failure and says what it was; a check exits 1 when any failed)
# and installs the build into the emptied prefix, exiting 1 with cmake's
# output when that fails.

cmake=$1
build=$2
prefix=$3
source=$4

failures=0
fail() {
  echo "FAIL: $*"
  failures=$((failures + 1))
}

rm -rf "$prefix"
mkdir -p "$prefix"
if ! "$cmake" --install "$build" --prefix "$prefix" >"$prefix.log" 2>&1; then
  cat "$prefix.log"
  echo "FAIL: cmake --install exited with an error"
  exit 1
fi
