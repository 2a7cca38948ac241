#!/usr/bin/env bash
# Runs skelconv and motconv with one shared joint-name prefix on the CMU
# samples and checks that every joint the import script attaches a channel
# to is a joint that the skeleton script creates, for the prefix A_ and for
# the empty prefix; without -p the import script keeps its <bone>_joint
# names.
#
#   shared_joint_names.sh SKELCONV MOTCONV DATA_DIR WORK_DIR
set -u
skelconv=$1
motconv=$2
data=$3
work=$4
rm -rf "$work"
mkdir -p "$work"
failed=0

created() { sed -n 's/^joint -name \([^ ]*\) .*/\1/p' "$1" | sort -u; }
attached() { sed -n 's/^  attachDeviceAttr .* "\([^".]*\)\.[a-zA-Z]*";$/\1/p' "$1" | sort -u; }

check() { # label skeleton-script import-script expected-attached-count
  local label=$1 joints=$2 import=$3
  local missing
  missing=$(comm -13 <(created "$joints") <(attached "$import"))
  if [ -n "$missing" ]; then
    echo "$label: attached joints the skeleton script does not create:"
    echo "$missing" | head -n 10
    failed=1
  fi
  local n
  n=$(attached "$import" | wc -l)
  if [ "$n" -lt 2 ]; then
    echo "$label: only $n joints attached"
    failed=1
  fi
  echo "$label: $n attached joints, all created"
}

for sample in charleston:charleston1 lambada:lambada; do
  asf=$data/cmu/${sample%%:*}.asf
  amc=$data/cmu/${sample##*:}.amc
  for prefix in A_ ""; do
    label="${sample%%:*} -p '$prefix'"
    out=$work/${sample%%:*}_${prefix}
    "$skelconv" -f -p "$prefix" "$asf" "$out.s.mel" > /dev/null || { echo "$label: skelconv failed"; failed=1; continue; }
    "$motconv" -f -p "$prefix" "$asf" "$amc" 30 "$out.t.mel" "$out.t.mov" > /dev/null || { echo "$label: motconv failed"; failed=1; continue; }
    check "$label" "$out.s.mel" "$out.t.mel"
    if [ -n "$prefix" ] && created "$out.s.mel" | grep -v "^$prefix" | grep -q .; then
      echo "$label: a created joint lacks the prefix"
      failed=1
    fi
  done
  # Without -p the import script drives <bone>_joint, as it always has.
  "$motconv" -f "$asf" "$amc" 30 "$work/plain.mel" "$work/plain.mov" > /dev/null || failed=1
  if attached "$work/plain.mel" | grep -v '_joint$' | grep -q .; then
    echo "${sample%%:*} without -p: a joint not named <bone>_joint"
    failed=1
  fi
done
exit $failed
