#!/usr/bin/env bash
# Builds the benchmarks (optimised, as the default preset) and prints one table of every
# benchmark: name, wall time, CPU time, iterations. Extra arguments go to Google Benchmark
# (for example --benchmark_filter=Ring).
set -euo pipefail
root=$(cd "$(dirname "$0")/.." && pwd)
cd "$root"
bash scripts/install-deps.sh
cmake --preset default >/dev/null
cmake --build --preset default --target armocalc_bench >/dev/null
build/default/armocalc_bench --benchmark_format=console --benchmark_color=false "$@"
