#!/usr/bin/env bash
# run.sh - measures the three pages against starting a process and against their own system calls, as a Markdown table.
#
# Builds the Release programs in build-bench (BENCH_BUILD_DIR to change),
# makes a small board and last-callers files of 1,000 to 1,000,000 records,
# and prints the table on standard output; progress goes to standard error.
set -euo pipefail
cd "$(dirname "$0")/.."
source_dir=$PWD
build=$(realpath -m "${BENCH_BUILD_DIR:-build-bench}")
# hyperfine -N splits a command at its spaces.
case $build in *[[:space:]]*) echo "bench: the build directory's path must hold no space" >&2; exit 1 ;; esac

bash tools/ensure-packages.sh "the benchmark" cmake g++ make hyperfine valgrind time python3

say() { echo "bench: $*" >&2; }

programs=(tembrix quandelo 5morvane)
sizes=(1000 10000 100000 1000000)

# The programs as a web server runs them, and the same sources linked
# dynamically: valgrind sees the allocations of a static executable only
# through its own malloc, so it counts them in the dynamic one.
say "building in $build"
cmake -S . -B "$build" -DCMAKE_BUILD_TYPE=Release -DBUILD_TESTING=OFF -DSANITIZE=OFF -DSTATIC_PROGRAMS=ON >/dev/null
cmake --build "$build" -j "$(nproc)" --target "${programs[@]}" make_bench_bbs do_nothing syscall_floor >/dev/null
cmake -S . -B "$build/dynamic" -DCMAKE_BUILD_TYPE=Release -DBUILD_TESTING=OFF -DSANITIZE=OFF -DSTATIC_PROGRAMS=OFF >/dev/null
cmake --build "$build/dynamic" -j "$(nproc)" --target "${programs[@]}" >/dev/null

boards=$build/boards
results=$build/results
rm -rf "$boards" "$results"
mkdir -p "$boards" "$results"

# A board: its data files, copies of the programs and their configuration
# files next to them, as each program looks for them.
make_board() { # directory callers program-directory
  local dir=$1
  mkdir -p "$dir"
  "$build/bench/make_bench_bbs" "$dir" "$2"
  for program in "${programs[@]}"; do
    cp "$3/$program" "$dir/"
  done
  printf 'Bench BBS\r\n%s/\r\n' "$dir" | tee "$dir/tembrix.cfg" > "$dir/5morvane.cfg"
  printf 'Bench BBS\r\n%s/\r\n9\r\n' "$dir" > "$dir/quandelo.cfg"
}

say "making the boards"
sample=$boards/sample
make_board "$sample" 50 "$build"
make_board "$boards/dynamic" 50 "$build/dynamic"
for size in "${sizes[@]}"; do
  make_board "$boards/callers-$size" "$size" "$build"
done

do_nothing=$build/bench/do_nothing
floor=$build/bench/syscall_floor

# A page that came out empty would time nothing worth knowing.
for program in "${programs[@]}"; do
  "$sample/$program" </dev/null >"$results/$program.html"
  [ -s "$results/$program.html" ] || { echo "bench: $program wrote nothing" >&2; exit 1; }
done

# hyperfine -N starts each command without a shell, with stdin, stdout and
# stderr on /dev/null. Each round measures every command in turn, the order
# reversed every other round, so that a change in the machine's load falls
# on all of them alike: a ratio is taken within each round.
measure() { # name rounds runs warmup command...
  local name=$1 rounds=$2 runs=$3 warmup=$4
  shift 4
  local commands=("$@") round i
  for ((round = 1; round <= rounds; round++)); do
    hyperfine -N --style none --warmup "$warmup" --runs "$runs" \
      --export-json "$results/$name-$round.json" "${commands[@]}" >/dev/null 2>&1
    warmup=0 # the files stay in the page cache from the first round on
    local reversed=()
    for ((i = ${#commands[@]} - 1; i >= 0; i--)); do reversed+=("${commands[i]}"); done
    commands=("${reversed[@]}")
  done
}

load_before=$(cut -d ' ' -f 1 /proc/loadavg)
say "timing one request of each program"
measure start 10 300 30 "$do_nothing" "$sample/tembrix" "$sample/quandelo" "$sample/5morvane" "$floor $sample/callers.dat"

for size in "${sizes[@]}"; do
  say "timing $size callers"
  dir=$boards/callers-$size
  case $size in
    1000) rounds=10 runs=20 ;;
    10000) rounds=10 runs=5 ;;
    100000) rounds=8 runs=1 ;;
    *) rounds=3 runs=1 ;;
  esac
  measure "callers-$size" "$rounds" "$runs" 1 "$dir/tembrix" "$floor $dir/callers.dat"
done

load_after=$(cut -d ' ' -f 1 /proc/loadavg)

say "peak resident memory"
memory() { # name command...
  local name=$1
  shift
  /usr/bin/time -f %M -o "$results/rss-$name.txt" "$@" </dev/null >/dev/null
}
memory do_nothing "$do_nothing"
for program in "${programs[@]}"; do
  memory "$program" "$sample/$program"
done
memory tembrix-1000000 "$boards/callers-1000000/tembrix"

say "heap allocations"
for program in "${programs[@]}"; do
  # The dynamic build must write the very page that was timed.
  "$boards/dynamic/$program" </dev/null | cmp -s - "$results/$program.html" \
    || { echo "bench: the dynamic $program writes another page" >&2; exit 1; }
  valgrind --log-file="$results/heap-$program.txt" "$boards/dynamic/$program" </dev/null >/dev/null
done

say "instructions per row"
for size in 1000 10000; do
  dir=$boards/callers-$size
  valgrind --tool=callgrind --callgrind-out-file="$results/ir-tembrix-$size.out" "$dir/tembrix" </dev/null >/dev/null 2>&1
  valgrind --tool=callgrind --callgrind-out-file="$results/ir-floor-$size.out" "$floor" "$dir/callers.dat" </dev/null >/dev/null 2>&1
done

machine="$(lscpu | sed -n 's/^Model name: *//p' | head -n 1), $(nproc) cores, Linux $(uname -r)"
load="$load_before before the timings, $load_after after them"
python3 "$source_dir/bench/table.py" "$results" "$machine" "$(date -u +%Y-%m-%d)" "$load" "${sizes[@]}"
