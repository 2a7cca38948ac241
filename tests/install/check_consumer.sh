#!/usr/bin/env bash
# Installs the build into a fresh prefix, checks where the library, its
# headers, its package files, the programs and the manual pages went, that
# none of the command-line layer's headers went with them, and that each
# installed header compiles on its own, and then configures, builds and
# runs the separate project in consumer/, which finds the installed
# package and reads a sample skeleton through it:
#   check_consumer.sh <cmake> <build dir> <prefix> <source dir> <c++ compiler>
#                     <bin dir> <lib dir> <include dir> <man dir>
# The four directories are relative to the prefix (bin, lib, include and
# share/man on most platforms).
set -u

source "$(dirname "$0")/install_steps.sh" "$@"
compiler=$5
bindir=$6
libdir=$7
includedir=$8
mandir=$9

# The layout: programs, manual pages, the library and its package files.
package="$prefix/$libdir/cmake/acclaimkit"
for file in "$bindir/skelconv" "$bindir/motconv" "$bindir/motview" \
    "$mandir/man1/skelconv.1" "$mandir/man1/motconv.1" "$mandir/man1/motview.1" \
    "$libdir/libacclaimkit.a" \
    "$libdir/cmake/acclaimkit/acclaimkitConfig.cmake" \
    "$libdir/cmake/acclaimkit/acclaimkitConfigVersion.cmake" \
    "$libdir/cmake/acclaimkit/acclaimkitTargets.cmake"; do
  [ -f "$prefix/$file" ] || fail "$file is not installed"
done

# Every header of the library's four folders but the ASF reader's private
# one, and nothing else, under include/acclaimkit.
headers="$prefix/$includedir/acclaimkit"
want=$(cd "$source" && ls toolkit/*.h toolkit/math/*.h acclaim/*.h raro/*.h |
  grep -v '^acclaim/KaASFReaderSections\.h$' | sort)
got=$(cd "$headers" 2>/dev/null && find . -type f | sed 's|^\./||' | sort)
if [ "$want" != "$got" ]; then
  fail "the installed headers differ from the library's (< expected, > installed):"
  diff <(echo "$want") <(echo "$got")
fi
# The command-line layer (apps/common) and the ASF reader's private header
# belong to the programs: no header of theirs is installed anywhere, and no
# name of the layer is defined in the installed library.
for header in $(cd "$source" && ls apps/common/*.h) acclaim/KaASFReaderSections.h; do
  found=$(find "$prefix" -name "$(basename "$header")" -print -quit)
  [ -z "$found" ] || fail "$header is installed, as ${found#"$prefix"/}"
done
if command -v nm >/dev/null; then
  layer=$(nm -C --defined-only "$prefix/$libdir/libacclaimkit.a" 2>/dev/null |
    grep -E ' [A-Za-z] Cl[A-Z]' | head -n 3)
  [ -z "$layer" ] || fail "the installed library defines names of the command-line layer: $layer"
fi
[ "$failures" -eq 0 ] || exit 1

# Each installed header compiles on its own with nothing but the installed
# include folder: none of them reaches into the source tree.
for header in $got; do
  if ! echo "#include \"$header\"" |
      "$compiler" -std=c++17 -Wall -Wextra -fsyntax-only -I"$headers" -x c++ - \
        >"$prefix.header.log" 2>&1; then
    fail "$header does not compile on its own from the install tree:"
    cat "$prefix.header.log"
  fi
done
[ "$failures" -eq 0 ] || exit 1

# The consumer project, configured against the prefix alone.
consumer_build="$prefix/consumer-build"
if ! "$cmake" -S "$source/tests/install/consumer" -B "$consumer_build" \
      -DCMAKE_CXX_COMPILER="$compiler" -DCMAKE_PREFIX_PATH="$prefix" \
      -DCMAKE_FIND_USE_PACKAGE_REGISTRY=OFF >"$prefix.configure.log" 2>&1; then
  cat "$prefix.configure.log"
  echo "FAIL: the consumer project does not configure against the installed package"
  exit 1
fi
found=$(sed -n 's/^acclaimkit_DIR:PATH=//p' "$consumer_build/CMakeCache.txt")
[ "$found" = "$package" ] || fail "find_package took the package from '$found', not from '$package'"
if ! "$cmake" --build "$consumer_build" >"$prefix.build.log" 2>&1; then
  cat "$prefix.build.log"
  echo "FAIL: the consumer project does not build against the installed library"
  exit 1
fi

# charleston.asf: the skeleton VICON with 30 bones, lhipjoint first and
# rthumb last, and lhipjoint, rhipjoint and lowerback under the root.
want_out='skeleton VICON
bones 30
first lhipjoint
last rthumb
root children lhipjoint rhipjoint lowerback'
status=0
out=$(cd "$prefix" && "$consumer_build/asf_summary" "$source/data/cmu/charleston.asf" 2>"$prefix.err") ||
  status=$?
[ "$status" -eq 0 ] || fail "asf_summary: exit status $status, expected 0"
[ -s "$prefix.err" ] && fail "asf_summary: unexpected standard error: $(cat "$prefix.err")"
if [ "$out" != "$want_out" ]; then
  fail "asf_summary: standard output differs (< expected, > actual):"
  diff <(echo "$want_out") <(echo "$out")
fi

[ "$failures" -eq 0 ] || exit 1
echo "installed library found, linked and used by a separate project under $prefix"
