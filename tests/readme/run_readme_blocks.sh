#!/usr/bin/env bash
# Runs every command block of the README that is fenced with the info
# string "sh", in order, in one scratch copy of the tree, and fails naming
# the first block that fails.
#
#   run_readme_blocks.sh SOURCE_DIR BUILD_DIR WORK_DIR
#
# The scratch copy holds the tree's tracked files (or, outside a checkout,
# README.md and data/), with build/ pointing at the already built BUILD_DIR.
# So that the blocks run in seconds, `cmake` and `ctest` are no-ops there:
# the first commands' configure, build and test steps have been done by the
# build that runs this test. Every block runs under `bash -e -o pipefail`
# with standard input empty; a block's variables and folders carry over to
# the next, as when a user pastes them one after another.
set -u
source_dir=$1
build_dir=$2
work=$3

rm -rf "$work"
mkdir -p "$work/tree" "$work/blocks"
if git -C "$source_dir" rev-parse --is-inside-work-tree >/dev/null 2>&1; then
  (cd "$source_dir" && git ls-files -z | xargs -0 cp --parents -t "$work/tree")
else
  cp -R "$source_dir/README.md" "$source_dir/data" "$work/tree/"
fi
ln -s "$build_dir" "$work/tree/build"

# Each block becomes blocks/NN.sh, starting with the line it was found on.
awk -v dir="$work/blocks" '
  /^```sh[[:space:]]*$/ { n++; file = sprintf("%s/%02d.sh", dir, n); print "# README.md line " NR + 1 > file; inside = 1; next }
  /^```/ && inside { inside = 0; close(file); next }
  inside { print >> file }
' "$source_dir/README.md"

count=$(find "$work/blocks" -name '*.sh' | wc -l)
if [ "$count" -eq 0 ]; then
  echo "README.md has no \`\`\`sh block"
  exit 1
fi

for block in "$work/blocks"/*.sh; do
  where=$(head -n 1 "$block")
  if ! (cd "$work/tree" && bash -e -o pipefail -c '
          cmake() { :; }
          ctest() { :; }
          export -f cmake ctest
          . "$1"' _ "$block" < /dev/null > "$block.log" 2>&1); then
    echo "FAILED: the block at ${where#\# }:"
    sed -n '2,$p' "$block"
    echo "-- its output --"
    tail -n 40 "$block.log"
    exit 1
  fi
done
echo "$count README blocks ran"
