#!/usr/bin/env bash
# Every output a user names works, and a failure leaves nothing half
# replaced:
# - /dev/stdout into a pipe, and a process substitution (/dev/fd/N), are
#   written directly, as a file would be;
# - /dev/stdout that is a regular file gets the script between the banner
#   and "done.", in the same file (nothing renamed over it);
# - a writable file in a folder the user cannot write, or in a sticky folder
#   owned by someone else, is written in place after a warning, and keeps
#   its inode (run as an unprivileged user: nobody, when the test is root);
# - two spellings of one new file through a bind mount are refused before
#   anything is written;
# - when the import script cannot be renamed into place after the MOV file
#   was (a bind-mounted target: the rename fails although every check
#   passed), the error names the MOV file that was already replaced.
# The parts that need mount or an unprivileged user are skipped, saying
# so, where the test cannot have them.
#
#   output_targets.sh SKELCONV MOTCONV CASES_DIR WORK_DIR
set -u
skelconv=$1
motconv=$2
cases=$3
work=$4
. "$(dirname "$0")/script_checks.sh"

rm -rf "$work"
mkdir -p "$work/scratch"
chmod 1777 "$work/scratch"
cd "$work" || exit 1
cp "$cases/motconv/output-dev-null/in/walk.asf" "$cases/motconv/output-dev-null/in/walk.amc" .
chmod 0644 walk.asf walk.amc
export TMPDIR=$work/scratch
mounted=()
trap 'for m in "${mounted[@]}"; do umount "$m"; done' EXIT

# What the programs write to plain files, to compare the odd targets with.
"$skelconv" -f walk.asf ref.mel > ref-skel.txt
"$motconv" -f walk.asf walk.amc 30 ref-i.mel ref.mov > ref-mot.txt
# The standard output of a run whose script goes to /dev/stdout: the
# script in the place of the "Writing" line's "done.".
expected_stdout=$(sed 's/^Writing "ref.mel"...done.$/Writing "\/dev\/stdout".../' ref-skel.txt)
expected_stdout="$expected_stdout$(cat ref.mel; printf x)"
expected_stdout="${expected_stdout%x}done."$'\n'

# -- /dev/stdout into a pipe --
"$skelconv" -f walk.asf /dev/stdout | cat > piped.txt
expect_status "/dev/stdout pipe" 0 "${PIPESTATUS[0]}"
expect_text "/dev/stdout pipe" "$expected_stdout" piped.txt

# -- /dev/stdout that is a regular file --
: > all.txt
inode=$(stat -c %i all.txt)
"$skelconv" -f walk.asf /dev/stdout >> all.txt
expect_status "/dev/stdout file" 0 $?
expect_text "/dev/stdout file" "$expected_stdout" all.txt
[ "$(stat -c %i all.txt)" = "$inode" ] || fail "/dev/stdout file: the file was replaced"
expect_nothing_left "/dev/stdout file" . scratch

# -- process substitution --
"$motconv" -f walk.asf walk.amc 30 sub.mel >(cat > sub.mov) > /dev/null
expect_status "process substitution" 0 $?
wait $!
expect_same "process substitution" ref.mov sub.mov
expect_same "process substitution" ref-i.mel sub.mel
if command -v gzip > /dev/null; then
  "$motconv" -f walk.asf walk.amc 30 sub.mel >(gzip -c > sub.mov.gz) > /dev/null
  expect_status "process substitution through gzip" 0 $?
  wait $!
  gzip -dc sub.mov.gz > sub-gz.mov
  expect_same "process substitution through gzip" ref.mov sub-gz.mov
fi
expect_nothing_left "process substitution" . scratch

# -- a writable file in a folder the user cannot write --
# The unprivileged user works in a folder of its own under /tmp, with a copy
# of the program: the build's folders need not be open to it.
as_user() {
  if [ "$(id -u)" = 0 ]; then
    setpriv --reuid=65534 --regid=65534 --clear-groups -- "$@"
  else
    "$@"
  fi
}
warning() { # PATH: the paragraph that warns that the file is written in place
  expected_warning=$'\n\nWARNING: The file "'"$1"$'" is written in place: no temporary file can be\n         made beside it and renamed over it.\n\n'
}
if [ "$(id -u)" = 0 ] && ! command -v setpriv > /dev/null; then
  echo "skipped: in-place cases need setpriv to run as an unprivileged user"
else
  user_dir=$(mktemp -d /tmp/rc-output-targets.XXXXXX)
  trap 'for m in "${mounted[@]}"; do umount "$m"; done; chmod -R u+w "$user_dir"; rm -rf "$user_dir"' EXIT
  chmod 0755 "$user_dir"
  cp "$skelconv" walk.asf ref.mel "$user_dir/"
  mkdir -m 1777 "$user_dir/scratch"
  cd "$user_dir" || exit 1
  mkdir ro
  printf 'old\n' > ro/walk.mel
  chmod 0666 ro/walk.mel
  ln ro/walk.mel ro/link.mel
  inode=$(stat -c %i ro/walk.mel)
  chmod 0555 ro
  TMPDIR=$user_dir/scratch as_user ./skelconv -f walk.asf ro/walk.mel > out.txt 2> err.txt
  expect_status "read-only folder" 0 $?
  warning ro/walk.mel
  expect_text "read-only folder" "$expected_warning" err.txt
  expect_same "read-only folder" ref.mel ro/walk.mel
  expect_same "read-only folder, hard link" ref.mel ro/link.mel
  [ "$(stat -c %i ro/walk.mel)" = "$inode" ] || fail "read-only folder: the file was replaced"
  expect_nothing_left "read-only folder" ro scratch
  chmod 0755 ro

  if [ "$(id -u)" = 0 ]; then
    # A sticky folder and a file of root's: nobody may write the file but
    # not rename over it.
    mkdir -m 1777 st
    printf 'old\n' > st/walk.mel
    chmod 0666 st/walk.mel
    inode=$(stat -c %i st/walk.mel)
    TMPDIR=$user_dir/scratch as_user ./skelconv -f walk.asf st/walk.mel > out.txt 2> err.txt
    expect_status "sticky folder" 0 $?
    warning st/walk.mel
    expect_text "sticky folder" "$expected_warning" err.txt
    expect_same "sticky folder" ref.mel st/walk.mel
    [ "$(stat -c %i st/walk.mel)" = "$inode" ] || fail "sticky folder: the file was replaced"
    expect_nothing_left "sticky folder" st scratch
  else
    echo "skipped: a sticky folder holding another user's file needs root to set up"
  fi
  cd "$work" || exit 1
fi

# -- two spellings of one new file, and a rename that fails after the
#    checks, through bind mounts --
mkdir -p bm/takes bm/alias
if ! mount --bind bm/takes bm/alias 2> /dev/null; then
  echo "skipped: bind-mount cases need mount (root)"
  finish
fi
mounted+=("$work/bm/alias")
"$motconv" -f walk.asf walk.amc 30 bm/takes/walk.out bm/alias/walk.out > out.txt 2> err.txt
expect_status "bind mount" 1 $?
expect_text "bind mount" $'\n\nERROR: The output files "bm/takes/walk.out" and "bm/alias/walk.out" are the\n       same file.\n\n' err.txt
[ -z "$(ls bm/takes)" ] || fail "bind mount: something was written: $(ls bm/takes)"

printf 'old mel\n' > l.mel
printf 'old mov\n' > l.mov
printf 'mounted\n' > other.mel
mount --bind other.mel l.mel
mounted=("$work/l.mel" "${mounted[@]}")
"$motconv" -f walk.asf walk.amc 30 l.mel l.mov > out.txt 2> err.txt
expect_status "second rename" 1 $?
expect_text "second rename" $'\n\nERROR: Unable to save "l.mel".\n       Unable to rename the temporary file to "l.mel".\n       Device or resource busy\n       The MOV file "l.mov" was already replaced.\n\n' err.txt
expect_same "second rename" ref.mov l.mov
expect_text "second rename" $'mounted\n' l.mel
expect_nothing_left "second rename" . scratch

finish
