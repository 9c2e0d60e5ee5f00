#!/usr/bin/env bash
# The benchmarks (not part of scripts/test.sh): builds the native preset's
# kvr_bench and runs it; arguments go to it (e.g. --benchmark_filter=WholeRun).
# Each figure that matters is a ratio taken within this one run; see
# docs/performance.md for what they mean.
set -euo pipefail
ROOT=$(cd "$(dirname "$0")/.." && pwd)
cd "$ROOT"
scripts/setup.sh >/dev/null

cmake --preset native >/dev/null
cmake --build --preset native --target kvr_bench

# The C library keeps freed memory for reuse instead of handing large blocks
# back to the kernel: otherwise the larger of two compared workloads pays for
# fresh pages that the smaller one gets recycled, and the in-memory PC's file
# contents are mapped anew in every iteration.
export GLIBC_TUNABLES=glibc.malloc.mmap_threshold=33554432:glibc.malloc.trim_threshold=4294967295
exec build/native/bin/kvr_bench --benchmark_counters_tabular=true "$@"
