#!/usr/bin/env bash
# Builds the libFuzzer targets (clang, address and undefined-behaviour sanitizers; preset "fuzz")
# and runs each from the checked-in seed corpus (tests/fuzz/corpus, written by grx1-fuzz-seeds).
#
#   bash tools/fuzz.sh                 fixed number of runs per target (CI: about two minutes of fuzzing)
#   bash tools/fuzz.sh --time SECONDS  each target for SECONDS instead (a longer local run)
#   bash tools/fuzz.sh --seeds         writes the seed corpus again from the sample generator
#
# The fixed runs start from the seeds alone each time, so they take the same time on every machine;
# a --time run keeps what it finds in build/fuzz/corpus/<target> and starts from it again next
# time. Nothing is written into the source tree. A
# crash, a leak or undefined behaviour fails the script; the input is saved as
# build/fuzz/findings/<target>-crash-* (replay it: build/fuzz/tests/fuzz/grx1-fuzz-<target> FILE).
set -euo pipefail
cd "$(dirname "$0")/.."

mode=runs
seconds=0
case "${1:-}" in
  "") ;;
  --time) mode=time; seconds="${2:?--time needs a number of seconds}" ;;
  --seeds) mode=seeds ;;
  *) echo "usage: tools/fuzz.sh [--time SECONDS | --seeds]" >&2; exit 2 ;;
esac

bash tools/deps.sh
launcher=()
command -v ccache >/dev/null && launcher=(-DCMAKE_CXX_COMPILER_LAUNCHER=ccache)
cmake --preset fuzz "${launcher[@]}" >/dev/null
cmake --build --preset fuzz

bin=build/fuzz/tests/fuzz
seeds=tests/fuzz/corpus
if [ "$mode" = seeds ]; then
  rm -rf "$seeds"
  "$bin/grx1-fuzz-seeds" "$seeds"
  exit 0
fi

# target, seed folder, runs, longest input
targets=(
  "projectfile project 100000 16384"
  "link link 100000 24576"
  "inifile ini 30000 4096"
  "namelist names 5000 4096"
)
mkdir -p build/fuzz/findings
export ASAN_OPTIONS="detect_leaks=1:abort_on_error=1:symbolize=1"
export UBSAN_OPTIONS="print_stacktrace=1:halt_on_error=1"
failed=()
for entry in "${targets[@]}"; do
  read -r name folder runs maxlen <<<"$entry"
  work="build/fuzz/corpus/$name"
  if [ "$mode" = runs ]; then
    work="build/fuzz/ci-corpus/$name"
    rm -rf "$work"
  fi
  mkdir -p "$work"
  limit=(-runs="$runs")
  [ "$mode" = time ] && limit=(-max_total_time="$seconds")
  echo "== grx1-fuzz-$name (${limit[*]})"
  if ! "$bin/grx1-fuzz-$name" "${limit[@]}" -max_len="$maxlen" -timeout=10 -rss_limit_mb=4096 \
       -print_final_stats=1 -artifact_prefix="build/fuzz/findings/$name-" "$work" "$seeds/$folder" \
       >"build/fuzz/$name.log" 2>&1; then
    tail -n 40 "build/fuzz/$name.log"
    failed+=("$name")
  fi
  grep -E "^Done|stat::number_of_executed_units|stat::peak_rss_mb" "build/fuzz/$name.log" || true
done
if [ ${#failed[@]} -gt 0 ]; then
  echo "fuzzing found faults in: ${failed[*]}; inputs saved in build/fuzz/findings:" >&2
  ls -1 build/fuzz/findings >&2
  exit 1
fi
echo "fuzzing: no findings"
