#!/usr/bin/env bash
# A run that is interrupted or stopped by a limit leaves nothing behind:
# motconv interrupted with SIGINT in the middle of a take (its AMC input a
# FIFO that the test feeds and then holds open) or at the second overwrite
# prompt (the import script written and held) removes every temporary and
# scratch file and ends by the signal (exit status 130); a run whose MOV
# file outgrows the file-size limit (ulimit -f) fails with an error and
# exit status 1. In each case the previous outputs stay as they were.
#
#   interrupted_runs.sh MOTCONV DATA_DIR WORK_DIR
set -u
motconv=$1
data=$2
work=$3
. "$(dirname "$0")/script_checks.sh"

if ! env --default-signal=INT true 2>/dev/null; then
  echo "skipped: env cannot start a program with SIGINT at its default action"
  exit 77
fi

rm -rf "$work"
mkdir -p "$work/scratch"
cd "$work" || exit 1
cp "$data/cmu/lambada.asf" "$data/cmu/lambada.amc" .
export TMPDIR=$work/scratch

# start INPUT ARGS...: motconv in the background, reading INPUT. A
# background job of a script starts with SIGINT ignored; the programs keep
# an ignored SIGINT ignored, so the job gets its default action back.
start() {
  local input=$1
  shift
  env --default-signal=INT "$motconv" "$@" < "$input" > out.txt 2> err.txt &
  pid=$!
}

# -- SIGINT in the middle of a take --
mkfifo take.amc
exec 3<> take.amc
start /dev/null -f lambada.asf take.amc 30 l.mel l.mov
# More than a pipe holds, so that the take is being read when this ends.
timeout 20 head -c 300000 lambada.amc >&3
wait_for 10 compgen -G 'l.mov.tmp-*' > /dev/null || fail "mid-take: no MOV temporary file appeared"
kill -INT "$pid"
wait "$pid"
expect_status "mid-take" 130 $?
exec 3>&-
expect_nothing_left "mid-take" . scratch
[ -e l.mel ] || [ -e l.mov ] && fail "mid-take: an output was written"
rm -f take.amc out.txt err.txt

# -- SIGINT at the second overwrite prompt --
printf 'old mel\n' > l.mel
printf 'old mov\n' > l.mov
mkfifo answers
exec 4<> answers
start answers lambada.asf lambada.amc 30 l.mel l.mov
printf 'y\n' >&4
prompted() { grep -q "Output file 'l.mov' exists." out.txt; }
wait_for 20 prompted || fail "prompt: the second prompt never came"
compgen -G 'l.mel.tmp-*' > /dev/null || fail "prompt: the import script is not held beside its target"
kill -INT "$pid"
wait "$pid"
expect_status "prompt" 130 $?
exec 4>&-
expect_nothing_left "prompt" . scratch
expect_text "prompt" $'old mel\n' l.mel
expect_text "prompt" $'old mov\n' l.mov
rm -f answers out.txt err.txt

# -- a MOV file beyond the file-size limit --
(
  ulimit -f 100 # blocks of 1024 bytes: the import script fits, the MOV file not
  exec "$motconv" -f lambada.asf lambada.amc 30 l.mel l.mov > out.txt 2> err.txt
)
expect_status "ulimit" 1 $?
expect_text "ulimit" $'\n\nERROR: Unable to save "l.mov".\n       Unable to write to "l.mov".\n       File too large\n       The import script "l.mel" was not kept.\n\n' err.txt
expect_nothing_left "ulimit" . scratch
expect_text "ulimit" $'old mel\n' l.mel
expect_text "ulimit" $'old mov\n' l.mov

finish
