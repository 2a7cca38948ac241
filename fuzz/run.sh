#!/usr/bin/env bash
# Builds the libFuzzer targets into build-fuzz, replays the saved
# regression inputs, then runs every target for the given number of seconds
# (default 60) on its working corpus fuzz/corpus-local/<target> (which git
# ignores and which grows from run to run), reading the committed seeds
# fuzz/corpus/<target> beside it (the seeds never change). Exits non-zero
# when any target reports a crash, a leak, a timeout, running out of memory,
# a sanitizer error or output that fails its sanity checks, and prints where
# the reproducer was saved.
#
#   bash fuzz/run.sh [seconds-per-target]
#   FUZZ_TARGETS="asf_reader skelconv" bash fuzz/run.sh 900   # only these
#   FUZZ_NO_BUILD=1 bash fuzz/run.sh 60                        # as last built
set -euo pipefail
cd "$(dirname "$0")/.."
root=$(pwd)

seconds=${1:-60}
case "$seconds" in
  ''|*[!0-9]*) echo "usage: $0 [seconds-per-target]" >&2; exit 2 ;;
esac

build="$root/build-fuzz"
jobs=$(nproc 2>/dev/null || echo 2)

if [ -z "${FUZZ_NO_BUILD:-}" ]; then
  echo "== Building the fuzz targets in $build =="
  CC=${CC:-clang} CXX=${CXX:-clang++} cmake -S "$root" -B "$build" \
    -DRC_FUZZ=ON -DRC_BUILD_TESTS=OFF -DCMAKE_BUILD_TYPE=Debug \
    -DCMAKE_CXX_FLAGS_DEBUG="-O1 -g" >/dev/null
  cmake --build "$build" --target fuzz_all -j"$jobs"
fi

# The largest input each target is given: the seeds are whole ASF files
# (a few KB) and the first frames of the sample motions.
max_len_of() {
  case "$1" in
    fuzz_asf_reader) echo 8192 ;;
    fuzz_amc_reader) echo 4096 ;;
    fuzz_skelconv) echo 8192 ;;
    fuzz_motconv) echo 12288 ;;
    *) echo 4096 ;;
  esac
}

export ASAN_OPTIONS=${ASAN_OPTIONS:-detect_leaks=1:abort_on_error=1:allocator_may_return_null=0}
export UBSAN_OPTIONS=${UBSAN_OPTIONS:-print_stacktrace=1:halt_on_error=1}

targets=()
while read -r t; do
  [ -n "$t" ] || continue
  short=${t#fuzz_}
  if [ -n "${FUZZ_TARGETS:-}" ] && [[ " $FUZZ_TARGETS " != *" $short "* ]]; then continue; fi
  targets+=("$t")
done < "$build/fuzz/fuzz_targets.txt"

scratch=$(mktemp -d "${TMPDIR:-/tmp}/rc-fuzz.XXXXXX")
trap 'rm -rf "$scratch"' EXIT

failed=()

echo "== Replaying saved regression inputs =="
for t in "${targets[@]}"; do
  short=${t#fuzz_}
  dir="$root/fuzz/regressions/$short"
  [ -d "$dir" ] || continue
  inputs=()
  while IFS= read -r -d '' f; do inputs+=("$f"); done \
    < <(find "$dir" -type f ! -name '*.md' -print0 | sort -z)
  [ ${#inputs[@]} -gt 0 ] || continue
  # A regression that fails again writes its reproducer under the build
  # folder, not into the working folder.
  mkdir -p "$build/artifacts/replay-$short"
  if "$build/fuzz/$t" -timeout=10 -rss_limit_mb=2048 \
       -artifact_prefix="$build/artifacts/replay-$short/" "${inputs[@]}" \
       > "$scratch/$short.replay.log" 2>&1; then
    echo "$t: ${#inputs[@]} regression input(s) pass"
  else
    tail -n 60 "$scratch/$short.replay.log"
    echo "FAILED: $t on a saved regression input under $dir (log above)"
    failed+=("$t (regression)")
  fi
done

for t in "${targets[@]}"; do
  short=${t#fuzz_}
  echo "== $t: ${seconds}s =="
  # New inputs go to the first folder only; the seeds are read as well.
  corpus="$root/fuzz/corpus-local/$short"
  mkdir -p "$corpus"
  seeds=()
  if [ -d "$root/fuzz/corpus/$short" ]; then seeds=("$root/fuzz/corpus/$short"); fi
  artifacts="$build/artifacts/$short"
  rm -rf "$artifacts"
  mkdir -p "$artifacts"
  log="$build/artifacts/$short.log"
  status=0
  "$build/fuzz/$t" "$corpus" "${seeds[@]}" \
    -max_total_time="$seconds" -max_len="$(max_len_of "$t")" \
    -timeout=10 -rss_limit_mb=2048 -dict="$root/fuzz/acclaim.dict" \
    -artifact_prefix="$artifacts/" -print_final_stats=1 > "$log" 2>&1 || status=$?
  grep -E '^(stat::number_of_executed_units|stat::new_units_added)' "$log" || true
  echo "$t: working corpus $(find "$corpus" -type f | wc -l) input(s) in ${corpus#"$root"/}"
  found=$(find "$artifacts" -type f \( -name 'crash-*' -o -name 'leak-*' -o -name 'timeout-*' \
            -o -name 'oom-*' \) | sort)
  if [ "$status" -ne 0 ] || [ -n "$found" ]; then
    grep -E -B2 -A30 'ERROR: (AddressSanitizer|LeakSanitizer|libFuzzer)|runtime error|==ERROR' "$log" | head -n 80 || tail -n 60 "$log"
    echo "FAILED: $t (exit $status); full log: $log"
    for f in $found; do echo "  reproducer: $f"; done
    failed+=("$t")
  else
    echo "$t: no findings"
  fi
done

if [ ${#failed[@]} -gt 0 ]; then
  echo "Fuzzing found problems in: ${failed[*]}"
  exit 1
fi
echo "All fuzz targets ran clean."
