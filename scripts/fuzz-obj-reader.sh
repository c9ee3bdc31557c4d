#!/usr/bin/env bash
# Fuzzes the OBJ reader for longer than the test suite does.
#
#   scripts/fuzz-obj-reader.sh [SECONDS]   (default 600)
#
# Builds the fuzz target with clang, AddressSanitizer and
# UndefinedBehaviorSanitizer in build-fuzz/, then runs it from the seed corpus
# in corvina/files/fuzz/corpus. New interesting inputs collect in
# build-fuzz/obj-reader-corpus; a crash is written to build-fuzz/ as
# crash-<hash> and can be replayed by passing that file to the target.
# Memory is capped, so an input that makes the reader hold more than its
# counts justify is reported as a failure too.
set -euo pipefail
cd "$(dirname "$0")/.."
seconds=${1:-600}
# Leaks are reported as they are: no suppressions.
export ASAN_OPTIONS=detect_leaks=1:abort_on_error=0
export UBSAN_OPTIONS=print_stacktrace=1:halt_on_error=1
CC=clang CXX=clang++ cmake -S . -B build-fuzz -G Ninja -DCMAKE_BUILD_TYPE=RelWithDebInfo \
  -DSANITIZE=ON -DFUZZ=ON -DBUILD_BENCHMARKS=OFF >/dev/null
cmake --build build-fuzz --target obj_reader_fuzz -j "$(nproc)"
mkdir -p build-fuzz/obj-reader-corpus
cd build-fuzz
./corvina/obj_reader_fuzz -max_total_time="$seconds" -max_len=65536 -rss_limit_mb=2048 \
  -timeout=10 -print_final_stats=1 obj-reader-corpus ../corvina/files/fuzz/corpus
