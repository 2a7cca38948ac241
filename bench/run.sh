#!/bin/bash
# Builds the Release programs into build-bench, generates the benchmark
# inputs into a temporary directory and prints a markdown table of wall
# time, peak memory and input throughput: motconv on AMC takes of 2,180 to
# 1,000,000 frames (100,000 also with -capture at three rates) and on a
# 200-bone chain (500 frames) with rotations only and with translations
# too, the parse-and-print floor of the same takes (amc_floor: every number
# parsed and printed again, nothing else), the AMC reader alone (amc_read),
# skelconv on lambada's skeleton and on a 10,000-bone one, and cat /
# gzip -dc of the same inputs for scale; then motconv's wall time over the
# floor's, per take; then motview on both CMU samples (converted at 60) and
# on the 100,000-frame take (converted at 30, the page with -step 4), with
# the size of each drawing.
#   bench/run.sh            (REPEAT=n runs each case n times, best wall kept;
#                            KEEP=1 keeps the temporary directory)
set -euo pipefail
here=$(cd "$(dirname "$0")" && pwd)
root=$(cd "$here/.." && pwd)
build=$root/build-bench
repeat=${REPEAT:-3}

cmake -S "$root" -B "$build" -DCMAKE_BUILD_TYPE=Release -DRC_BENCH=ON -DRC_BUILD_TESTS=OFF >/dev/null
cmake --build "$build" -j2 --target motconv skelconv motview amc_read amc_floor >/dev/null

work=$(mktemp -d /tmp/rc-bench.XXXXXX)
if [ -z "${KEEP:-}" ]; then trap 'rm -rf "$work"' EXIT; fi
asf=$root/data/cmu/lambada.asf
cp "$root/data/cmu/lambada.amc" "$work/f2180.amc"
takes="100000 400000 1000000"
for n in $takes; do "$here/make_amc.sh" "$n" >"$work/f$n.amc"; done
"$here/make_asf.sh" 10000 >"$work/b10000.asf"
"$here/make_chain.sh" 200 500 "rx ry rz" "$work/chain_rot"
"$here/make_chain.sh" 200 500 "tx ty tz rx ry rz" "$work/chain_trans"
for f in "$work"/f*.amc; do gzip -c "$f" >"$f.gz"; done

declare -A wall
# Runs the command REPEAT times; sets best (the best wall time, seconds),
# cpu (the least user + system time) and peak (the largest peak memory, KB).
measure() {
  local i t m u s c
  best=""
  cpu=""
  peak=0
  for ((i = 0; i < repeat; i++)); do
    /usr/bin/time -f "%e %M %U %S" -o "$work/time.txt" "$@" >/dev/null 2>"$work/err.txt" ||
      { echo "failed: $*" >&2; cat "$work/err.txt" >&2; exit 1; }
    read -r t m u s <"$work/time.txt"
    c=$(awk -v u="$u" -v s="$s" 'BEGIN { print u + s }')
    if [ -z "$cpu" ] || awk -v a="$c" -v b="$cpu" 'BEGIN { exit !(a < b) }'; then cpu=$c; fi
    if [ -z "$best" ] || awk -v a="$t" -v b="$best" 'BEGIN { exit !(a < b) }'; then best=$t; fi
    if [ "$m" -gt "$peak" ]; then peak=$m; fi
    rm -f "$work"/out.*
  done
}

# row KEY LABEL INPUT COMMAND...
row() {
  local key=$1 label=$2 input=$3
  shift 3
  local size
  size=$(stat -c %s "$input")
  measure "$@"
  wall[$key]=$best
  awk -v l="$label" -v s="$size" -v t="$best" -v c="$cpu" -v m="$peak" 'BEGIN {
    mb = s / 1e6
    rate = t > 0 ? sprintf("%.0f", mb / t) : "-"
    printf "| %s | %.1f | %.2f | %.2f | %.0f | %s |\n", l, mb, t, c, m / 1024, rate
  }'
}

echo "| case | input MB | wall s | user+sys s | peak MB | input MB/s |"
echo "|---|---:|---:|---:|---:|---:|"
for n in 2180 $takes; do
  f=$work/f$n.amc
  row "motconv$n" "motconv, $n frames" "$f" \
    "$build/apps/motconv/motconv" -f "$asf" "$f" 30 "$work/out.mel" "$work/out.mov"
  row "floor$n" "amc_floor, $n frames" "$f" "$build/bench/amc_floor" "$f" "$work/out.txt"
done
# -capture against the same take without it: every 4th frame kept (120 to
# 30), five lines in six interpolated (25 to 30), and a rate equal to the
# scene's (frames passed through).
f=$work/f100000.amc
row capture_kept "motconv, 100,000 frames, -capture 120 at 30 (25,000 lines kept)" "$f" \
  "$build/apps/motconv/motconv" -f -capture 120 "$asf" "$f" 30 "$work/out.mel" "$work/out.mov"
row capture_interp "motconv, 100,000 frames, -capture 25 at 30 (120,000 lines, 5 in 6 interpolated)" "$f" \
  "$build/apps/motconv/motconv" -f -capture 25 "$asf" "$f" 30 "$work/out.mel" "$work/out.mov"
row capture_same "motconv, 100,000 frames, -capture 30 at 30 (passed through)" "$f" \
  "$build/apps/motconv/motconv" -f -capture 30 "$asf" "$f" 30 "$work/out.mel" "$work/out.mov"
row chain_rot "motconv, 200-bone chain, rx ry rz, 500 frames" "$work/chain_rot.amc" \
  "$build/apps/motconv/motconv" -f "$work/chain_rot.asf" "$work/chain_rot.amc" 30 \
  "$work/out.mel" "$work/out.mov"
row chain_trans "motconv, 200-bone chain, tx ty tz rx ry rz, 500 frames" "$work/chain_trans.amc" \
  "$build/apps/motconv/motconv" -f "$work/chain_trans.asf" "$work/chain_trans.amc" 30 \
  "$work/out.mel" "$work/out.mov"
for n in 2180 $takes; do
  f=$work/f$n.amc
  row "amc_read$n" "amc_read, $n frames" "$f" "$build/bench/amc_read" "$f"
done
row amc_read_gz "amc_read, 100000 frames, .gz" "$work/f100000.amc.gz" \
  "$build/bench/amc_read" "$work/f100000.amc.gz"
row skel_lambada "skelconv, lambada.asf" "$asf" "$build/apps/skelconv/skelconv" -f "$asf" "$work/out.mel"
row skel_10000 "skelconv, 10000 bones" "$work/b10000.asf" \
  "$build/apps/skelconv/skelconv" -f "$work/b10000.asf" "$work/out.mel"
for n in 2180 $takes; do
  row "cat$n" "cat, $n frames" "$work/f$n.amc" cat "$work/f$n.amc"
done
row cat_asf "cat, 10000 bones" "$work/b10000.asf" cat "$work/b10000.asf"
for n in 2180 $takes; do
  row "gz$n" "gzip -dc, $n frames" "$work/f$n.amc.gz" gzip -dc "$work/f$n.amc.gz"
done

echo
awk -v a="${wall[chain_trans]}" -v b="${wall[chain_rot]}" \
  'BEGIN { r = b > 0 ? sprintf("%.2f", a / b) : "-"; printf "motconv: 200-bone chain with translations / rotations only wall time = %s\n", r }'
awk -v a="${wall[capture_interp]}" -v b="${wall[motconv100000]}" \
  'BEGIN { r = b > 0 ? sprintf("%.2f", a / b) : "-"; printf "motconv: -capture 25 at 30 / without -capture (100,000 frames) wall time = %s\n", r }'
for key in motconv amc_read; do
  awk -v k="$key" -v a="${wall[${key}1000000]}" -v b="${wall[${key}100000]}" \
    'BEGIN { r = b > 0 ? sprintf("%.2f", a / b) : "-"; printf "%s: 1,000,000 / 100,000 frames wall time = %s\n", k, r }'
done
for n in 2180 $takes; do
  awk -v n="$n" -v a="${wall[motconv$n]}" -v b="${wall[floor$n]}" \
    'BEGIN { r = b > 0 ? sprintf("%.2f", a / b) : "-"; printf "motconv / parse-and-print floor, %s frames, wall time = %s\n", n, r }'
done

# motview: the drawings and their sizes. Its input is the MOV file (the
# two scripts are small); the output is not removed between runs, so its
# size is the drawing's.
echo
echo "| case | MOV MB | wall s | user+sys s | peak MB | output MB |"
echo "|---|---:|---:|---:|---:|---:|"
# viewrow LABEL TAKE OUTPUT [OPTIONS...]: TAKE.mel, TAKE_import.mel and
# TAKE.mov in the work folder.
viewrow() {
  local label=$1 take=$2 output=$3
  shift 3
  local mov=$work/$take.mov
  measure "$build/apps/motview/motview" -f "$@" "$work/$take.mel" "$work/${take}_import.mel" \
    "$mov" "$work/$output"
  awk -v l="$label" -v s="$(stat -c %s "$mov")" -v t="$best" -v c="$cpu" -v m="$peak" \
    -v o="$(stat -c %s "$work/$output")" 'BEGIN {
    printf "| %s | %.1f | %.2f | %.2f | %.0f | %.2f |\n", l, s / 1e6, t, c, m / 1024, o / 1e6
  }'
}
for sample in charleston lambada; do
  amc=$root/data/cmu/${sample}.amc
  [ "$sample" = charleston ] && amc=$root/data/cmu/charleston1.amc
  "$build/apps/skelconv/skelconv" -f "$root/data/cmu/$sample.asf" "$work/$sample.mel" >/dev/null
  "$build/apps/motconv/motconv" -f -p "" "$root/data/cmu/$sample.asf" "$amc" 60 \
    "$work/${sample}_import.mel" "$work/$sample.mov" >/dev/null
  viewrow "motview, $sample at 60, .svg (8 poses)" "$sample" "view-$sample.svg"
  viewrow "motview, $sample at 60, .html (every frame)" "$sample" "view-$sample.html"
done
"$build/apps/skelconv/skelconv" -f "$asf" "$work/f100000.mel" >/dev/null
"$build/apps/motconv/motconv" -f -p "" "$asf" "$work/f100000.amc" 30 \
  "$work/f100000_import.mel" "$work/f100000.mov" >/dev/null
viewrow "motview, 100,000 frames, .svg (8 poses)" f100000 view-f100000.svg
viewrow "motview, 100,000 frames, .html -step 4 (25,000 frames)" f100000 view-f100000.html -step 4
viewrow "motview, 100,000 frames, .html (every frame)" f100000 view-f100000-all.html
