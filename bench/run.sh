#!/usr/bin/env bash
# Builds and runs the benchmark: kx_calc per line over bench/corpus.txt, the floor of
# number conversion, muparserx on the same lines, and lines of 10 to 10^7 characters.
#
#   bench/run.sh [benchmark options]   e.g. --benchmark_filter=all
#   bench/run.sh --profile             instruction counts under callgrind instead
#   bench/run.sh --threads [options]   lines/s on 1 thread, 2 threads, 2 threads beside a
#                                      thread assigning 10,000 times a second (threads_bench)
#
# muparserx is the comparison peer only; it is installed here (Debian's libmuparserx-dev)
# when missing and apt-get may be used, and the benchmark skips it when it is absent.
set -euo pipefail
cd "$(dirname "$0")/.."
build=build-bench

if ! dpkg -s libmuparserx-dev >/dev/null 2>&1; then
  if [ "$(id -u)" = 0 ]; then
    { apt-get install -y libmuparserx-dev || { apt-get update && apt-get install -y libmuparserx-dev; }; } >/dev/null || echo "run.sh: muparserx not installed; the peer is skipped" >&2
  else
    echo "run.sh: libmuparserx-dev is not installed (needs root); the peer is skipped" >&2
  fi
fi

cmake -S . -B "$build" -DCMAKE_BUILD_TYPE=Release -DKXCALC_BUILD_BENCHMARKS=ON -DKXCALC_BUILD_TESTS=OFF \
  -DKXCALC_BUILD_TOOLS=OFF >/dev/null
cmake --build "$build" -j2 --target calc_bench corpus_driver threads_bench

if [ "${1:-}" = "--threads" ]; then
  shift
  uptime  # the ratios mean something only when the machine's other load is low
  "$build/bench/threads_bench" "$@"
  exit 0
fi

if [ "${1:-}" = "--profile" ]; then
  out="$build/callgrind.out"
  valgrind --tool=callgrind --callgrind-out-file="$out" --toggle-collect=calc_call \
    "$build/bench/corpus_driver" bench/corpus.txt 20
  callgrind_annotate "$out" | sed -n '/file:function/,$p' | head -25
  exit 0
fi

# The machine may be shared: repetitions of all benchmarks are interleaved, and the best
# repetition of each is reported.
"$build/bench/calc_bench" --benchmark_repetitions=5 --benchmark_min_time=0.2 \
  --benchmark_enable_random_interleaving=true "$@"
