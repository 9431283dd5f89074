#!/usr/bin/env bash
# Builds the fuzzers with clang and libFuzzer and runs each for a while;
# a crash, a sanitizer report, a failed property or a hang fails the run.
#
# Usage: fuzz/run.sh [SECONDS_PER_FUZZER [FUZZER...]]   (default 20 s, all)
#   FUZZ_BUILD_DIR  build directory (default build-fuzz)
#   FUZZ_CXX        compiler (default clang++-14)
#   FUZZ_JOBS       fuzzers run at once (default: the number of processors)
# Inputs that find new coverage are kept in $FUZZ_BUILD_DIR/corpus/<fuzzer>,
# so later runs start from there; a failing input is saved as
# $FUZZ_BUILD_DIR/artifacts/<fuzzer>-crash-..., to replay with
# $FUZZ_BUILD_DIR/<fuzzer>_fuzzer FILE.
set -euo pipefail
cd "$(dirname "$0")/.."

seconds=${1:-20}
shift || true
all=(config_reader last_callers node_status oneliners parse_number pipe_codes row_write)
fuzzers=("$@")
[ ${#fuzzers[@]} -gt 0 ] || fuzzers=("${all[@]}")
build=${FUZZ_BUILD_DIR:-build-fuzz}
compiler=${FUZZ_CXX:-clang++-14}
jobs=${FUZZ_JOBS:-$(nproc)}

if ! command -v "$compiler" >/dev/null; then
  echo "fuzz: $compiler not found; install clang-14 and libclang-rt-14-dev" >&2
  exit 1
fi
cmake -S fuzz -B "$build" -DCMAKE_CXX_COMPILER="$compiler" >/dev/null
cmake --build "$build" -j "$(nproc)" >/dev/null
"$build/make_seeds" "$build/seeds"
mkdir -p "$build/artifacts" "$build/logs"

export ASAN_OPTIONS=${ASAN_OPTIONS:-halt_on_error=1:abort_on_error=1}
export UBSAN_OPTIONS=${UBSAN_OPTIONS:-halt_on_error=1:abort_on_error=1:print_stacktrace=1}

run_one() {
  local name=$1
  local corpus=("$build/corpus/$name")
  mkdir -p "$build/corpus/$name"
  [ -d "fuzz/corpus/$name" ] && corpus+=("fuzz/corpus/$name")
  [ -d "$build/seeds/$name" ] && corpus+=("$build/seeds/$name")
  # -timeout: an input that runs for seconds is a hang, and fails.
  "$build/${name}_fuzzer" -max_total_time="$seconds" -timeout=10 -print_final_stats=1 \
    -artifact_prefix="$build/artifacts/$name-" "${corpus[@]}" >"$build/logs/$name.log" 2>&1
}

summary() {
  local name=$1 log="$build/logs/$1.log"
  local runs coverage
  runs=$(sed -n 's/^stat::number_of_executed_units: *//p' "$log" | tail -1)
  coverage=$(grep -E '^#[0-9]+' "$log" | tail -1 | grep -oE 'cov: [0-9]+ ft: [0-9]+' || true)
  printf 'fuzz %-14s %10s executions  %s\n' "$name" "${runs:-?}" "$coverage"
}

declare -A pids
failed=0
for name in "${fuzzers[@]}"; do
  while [ "$(jobs -rp | wc -l)" -ge "$jobs" ]; do
    wait -n || true
  done
  run_one "$name" &
  pids[$name]=$!
done
for name in "${fuzzers[@]}"; do
  if wait "${pids[$name]}"; then
    summary "$name"
  else
    failed=1
    echo "fuzz $name FAILED; log: $build/logs/$name.log" >&2
    tail -n 40 "$build/logs/$name.log" >&2
  fi
done
exit "$failed"
