#!/usr/bin/env bash
# Builds the libFuzzer targets with clang into build-fuzz/ (or $FUZZ_BUILD_DIR)
# and runs each of them, growing one corpus folder per target.
#
#   scripts/fuzz.sh [-t SECONDS] [-r RUNS] [-c CORPUS_DIR] [-j JOBS] [TARGET...]
#
#   -t SECONDS    time per target (default 30; 0 means no time limit)
#   -r RUNS       stop a target after RUNS inputs (default: no limit); given
#                 without -t, the time limit is lifted
#   -c CORPUS_DIR keeps <CORPUS_DIR>/<target> between runs (default
#                 build-fuzz/corpus); the checked-in seeds are read as well
#   -j JOBS       targets run at the same time (default 1)
#   TARGET...     some of the targets (default: all)
#
# A finding (a failed check, a crash, a sanitizer report, a leak, a timeout)
# fails the script; the input is kept under build-fuzz/findings/<target>/ and
# the report in build-fuzz/logs/<target>.log. Once the fault is mended, the
# input goes into the target's regressions/ folder, where ctest replays it.
set -euo pipefail
root=$(cd "$(dirname "$0")/.." && pwd)
build=${FUZZ_BUILD_DIR:-$root/build-fuzz}

seconds=30
seconds_given=0
runs=-1
corpus_root=$build/corpus
jobs=1
while getopts "t:r:c:j:h" option; do
  case $option in
    t) seconds=$OPTARG; seconds_given=1 ;;
    r) runs=$OPTARG ;;
    c) corpus_root=$OPTARG ;;
    j) jobs=$OPTARG ;;
    *) sed -n '2,20p' "$0"; exit 2 ;;
  esac
done
shift $((OPTIND - 1))
if [[ $runs != -1 && $seconds_given == 0 ]]; then seconds=0; fi

# Every target keeps its seeds in <folder>/seeds/<target> (the build refuses
# a target without them); the same folder holds its regressions/.
declare -A target_dir=()
all_targets=()
for seeds in "$root"/*/tests/fuzz/seeds/*/; do
  seeds=${seeds%/}
  folder=${seeds%/seeds/*}
  target_dir[${seeds##*/}]=${folder#"$root"/}
  all_targets+=("${seeds##*/}")
done
# The longest input worth trying (longer inputs only slow the models down).
declare -A max_len=(
  [check_digit_fuzz]=512 [serial_step_fuzz]=512 [serial_stepper_fuzz]=128
  [integer_text_fuzz]=256 [line_completer_fuzz]=4096 [text_value_fuzz]=1024
  [md5_stream_fuzz]=1024
)
targets=("$@")
if ((${#targets[@]} == 0)); then targets=("${all_targets[@]}"); fi
for t in "${targets[@]}"; do
  [[ -n ${target_dir[$t]:-} ]] || { echo "unknown fuzz target: $t" >&2; exit 2; }
done

cmake -S "$root" -B "$build" -G Ninja -DCMAKE_BUILD_TYPE=RelWithDebInfo \
  -DCMAKE_C_COMPILER=clang-14 -DCMAKE_CXX_COMPILER=clang++-14 \
  -DNUMBROOK_FUZZ=ON -DNUMBROOK_BUILD_BENCH=OFF >/dev/null
cmake --build "$build" --target fuzz_targets --parallel "${FUZZ_BUILD_JOBS:-2}"

mkdir -p "$build/logs" "$build/findings"
# Stack traces with function names and lines.
if command -v llvm-symbolizer-14 >/dev/null; then
  export ASAN_SYMBOLIZER_PATH=${ASAN_SYMBOLIZER_PATH:-$(command -v llvm-symbolizer-14)}
fi
export UBSAN_OPTIONS=${UBSAN_OPTIONS:-print_stacktrace=1}

run_target() {
  local t=$1
  local binary=$build/${target_dir[$t]}/$t
  local seeds=$root/${target_dir[$t]}/seeds/$t
  local corpus=$corpus_root/$t
  local findings=$build/findings/$t
  local log=$build/logs/$t.log
  mkdir -p "$corpus" "$findings"
  local started=$SECONDS status=0
  "$binary" -max_total_time="$seconds" -runs="$runs" -max_len="${max_len[$t]:-1024}" \
    -timeout=10 -rss_limit_mb=4096 -print_final_stats=1 -artifact_prefix="$findings/" \
    "$corpus" "$seeds" >"$log" 2>&1 || status=$?
  local executed
  executed=$(sed -n 's/^stat::number_of_executed_units: *//p' "$log" | tail -1)
  printf '%s %s %s %s\n' "$t" "${executed:-?}" $((SECONDS - started)) "$status" \
    >"$build/logs/$t.result"
}

for t in "${targets[@]}"; do
  rm -f "$build/logs/$t.result"
  run_target "$t" &
  while (($(jobs -rp | wc -l) >= jobs)); do wait -n || true; done
done
wait

failed=0
printf '%-22s %14s %9s  %s\n' target executions seconds result
for t in "${targets[@]}"; do
  read -r _ executed elapsed status <"$build/logs/$t.result"
  result=passed
  if [[ $status != 0 ]]; then
    result="FAILED (exit $status, log $build/logs/$t.log)"
    failed=1
  fi
  printf '%-22s %14s %9s  %s\n' "$t" "$executed" "$elapsed" "$result"
done
for t in "${targets[@]}"; do
  read -r _ _ _ status <"$build/logs/$t.result"
  if [[ $status != 0 ]]; then
    echo "---- $t: end of $build/logs/$t.log"
    tail -40 "$build/logs/$t.log"
  fi
done
exit "$failed"
