# Checks shared by the shell-driven command-line tests (sourced). Each
# failed check prints what it expected and what it found; finish ends the
# script with status 1 when any did, else 0.
failures=0

fail() {
  echo "FAILED: $*"
  failures=$((failures + 1))
}

# expect_status CASE EXPECTED ACTUAL
expect_status() {
  [ "$2" = "$3" ] || fail "$1: exit status $3, expected $2"
}

# expect_text CASE EXPECTED_TEXT FILE: the file holds exactly the text.
expect_text() {
  local expected=$2 file=$3
  if ! printf '%s' "$expected" | cmp -s - "$file"; then
    fail "$1: $file differs (expected, then actual):"
    diff -u <(printf '%s' "$expected") "$file" | head -n 30
  fi
}

# expect_same CASE EXPECTED_FILE ACTUAL_FILE
expect_same() {
  if ! cmp -s "$2" "$3"; then
    fail "$1: $3 differs from $2"
  fi
}

# expect_nothing_left CASE DIR...: no temporary or scratch file in the
# folders.
expect_nothing_left() {
  local label=$1 dir left
  shift
  for dir in "$@"; do
    left=$(find "$dir" -maxdepth 1 -name '*.tmp-*' 2>/dev/null)
    [ -z "$left" ] || fail "$label: left behind: $left"
  done
}

# wait_for SECONDS COMMAND...: true as soon as the command succeeds.
wait_for() {
  local tenths=$(($1 * 10))
  shift
  while [ "$tenths" -gt 0 ]; do
    "$@" && return 0
    sleep 0.1
    tenths=$((tenths - 1))
  done
  return 1
}

finish() {
  if [ "$failures" -gt 0 ]; then
    echo "$failures check(s) failed"
    exit 1
  fi
  echo "all checks passed"
  exit 0
}
