#!/usr/bin/env bash
# Runs one command-line test case and compares everything it produced.
#
#   run_case.sh PROGRAM CASE_DIR WORK_DIR DATA_DIR
#
# A case folder holds:
#   args      the arguments, one per line (an absent or empty file: none);
#             "@DATA@" in a line stands for the repository's data folder
#   stdin     what the program reads (absent: standard input is empty)
#   stdout    expected standard output (absent: must be empty)
#   stderr    expected standard error (absent: must be empty)
#   status    expected exit status (absent: 0)
#   in/       files copied into the fresh working folder before the run
#   out/      files that must exist afterwards with exactly this content
#   absent    paths (one per line) that must not exist afterwards; a line
#             may be a shell pattern, which then must match nothing
#   setup     a bash script run in the working folder before the run
#   env       NAME=VALUE lines put into the program's environment
#   requires  tools (one per line) the case needs on PATH; without one of
#             them the case is skipped (exit status 77, which CTest counts
#             as a skip) with a message naming the tool
# The program runs in the working folder, so relative paths in messages
# are the ones the case gives.
set -u
program=$1
case_dir=$2
work=$3
data_dir=$4

if [ -f "$case_dir/requires" ]; then
  while IFS= read -r tool || [ -n "$tool" ]; do
    [ -z "$tool" ] && continue
    if ! command -v "$tool" >/dev/null 2>&1; then
      echo "skipped: this case needs '$tool' on PATH"
      exit 77
    fi
  done < "$case_dir/requires"
fi

rm -rf "$work"
mkdir -p "$work/run"
if [ -d "$case_dir/in" ]; then
  cp -R "$case_dir/in/." "$work/run/"
fi

args=()
if [ -f "$case_dir/args" ]; then
  while IFS= read -r line || [ -n "$line" ]; do
    args+=("${line//@DATA@/$data_dir}")
  done < "$case_dir/args"
fi

stdin_file=/dev/null
[ -f "$case_dir/stdin" ] && stdin_file="$case_dir/stdin"

env_args=()
if [ -f "$case_dir/env" ]; then
  while IFS= read -r line || [ -n "$line" ]; do
    [ -n "$line" ] && env_args+=("$line")
  done < "$case_dir/env"
fi

if [ -f "$case_dir/setup" ]; then
  (cd "$work/run" && bash "$case_dir/setup") || { echo "setup failed"; exit 1; }
fi

(cd "$work/run" && env "${env_args[@]}" "$program" "${args[@]}" \
  < "$stdin_file" > "$work/stdout" 2> "$work/stderr")
status=$?

failed=0
expect_status=0
[ -f "$case_dir/status" ] && expect_status=$(tr -d '[:space:]' < "$case_dir/status")
if [ "$status" != "$expect_status" ]; then
  echo "exit status: expected $expect_status, got $status"
  failed=1
fi

compare() { # expected-file actual-file label
  local expected=$1 actual=$2 label=$3
  if [ -f "$expected" ]; then
    if ! cmp -s "$expected" "$actual"; then
      echo "$label differs (expected, then actual):"
      diff -u "$expected" "$actual" | head -n 60
      failed=1
    fi
  elif [ -s "$actual" ]; then
    echo "$label should be empty but holds:"
    head -n 30 "$actual"
    failed=1
  fi
}
compare "$case_dir/stdout" "$work/stdout" "standard output"
compare "$case_dir/stderr" "$work/stderr" "standard error"

if [ -d "$case_dir/out" ]; then
  while IFS= read -r -d '' f; do
    rel=${f#"$case_dir/out/"}
    if [ ! -f "$work/run/$rel" ]; then
      echo "output file $rel was not written"
      failed=1
    elif ! cmp -s "$f" "$work/run/$rel"; then
      echo "output file $rel differs (expected, then actual):"
      diff -u "$f" "$work/run/$rel" | head -n 60
      failed=1
    fi
  done < <(find "$case_dir/out" -type f -print0)
fi

if [ -f "$case_dir/absent" ]; then
  while IFS= read -r rel || [ -n "$rel" ]; do
    [ -z "$rel" ] && continue
    # A line may be a pattern ("w.mov.tmp-*"): nothing may match it. The
    # expansion below splits no words, so names with blanks stay whole.
    IFS=
    for match in "$work/run/"$rel; do
      if [ -e "$match" ] || [ -L "$match" ]; then
        echo "${match#"$work/run/"} should not exist"
        failed=1
      fi
    done
    unset IFS
  done < "$case_dir/absent"
fi

exit $failed
