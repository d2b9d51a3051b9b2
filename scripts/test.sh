#!/usr/bin/env bash
# Installs what is missing, builds, and runs every test through ctest: in the
# normal build (build/, or $BUILD_DIR), again in a build where everything runs
# under AddressSanitizer and UndefinedBehaviorSanitizer (build-asan/, or
# $ASAN_BUILD_DIR), then every fuzz target for a short while
# ($FUZZ_SECONDS each, default 30; 0 leaves the fuzzing out).
set -euo pipefail
root=$(cd "$(dirname "$0")/.." && pwd)
build=${BUILD_DIR:-$root/build}
asan_build=${ASAN_BUILD_DIR:-$root/build-asan}
fuzz_seconds=${FUZZ_SECONDS:-30}
started=$SECONDS
"$root/scripts/setup-deps.sh"
"$root/scripts/build.sh"
export QT_QPA_PLATFORM=offscreen
ctest --test-dir "$build" --output-on-failure --parallel "$(nproc)"

echo "== Sanitizer build: $asan_build"
BUILD_DIR=$asan_build "$root/scripts/build.sh" -DCMAKE_BUILD_TYPE=RelWithDebInfo \
  -DNUMBROOK_SANITIZE=ON -DNUMBROOK_BUILD_BENCH=OFF
# Every finding ends the program with a report, leaks included. Qt, fontconfig
# and the offscreen platform leave nothing unreachable behind in these tests,
# so no leak needs a suppression.
export ASAN_OPTIONS=${ASAN_OPTIONS:-detect_leaks=1:check_initialization_order=1:detect_stack_use_after_return=1}
export UBSAN_OPTIONS=${UBSAN_OPTIONS:-print_stacktrace=1:halt_on_error=1}
ctest --test-dir "$asan_build" --output-on-failure --parallel "$(nproc)"
unset ASAN_OPTIONS UBSAN_OPTIONS

if ((fuzz_seconds > 0)); then
  echo "== Fuzzing, $fuzz_seconds s per target"
  "$root/scripts/fuzz.sh" -t "$fuzz_seconds" -j "$(nproc)"
fi
echo "scripts/test.sh finished in $((SECONDS - started)) s"
