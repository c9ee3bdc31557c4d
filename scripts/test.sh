#!/usr/bin/env bash
# Builds and runs every test twice: a normal build with the system compiler,
# and a clang build with AddressSanitizer and UndefinedBehaviorSanitizer that
# also runs the fuzz targets for a fixed number of inputs.
set -euo pipefail
cd "$(dirname "$0")/.."
jobs=$(nproc)
export QT_QPA_PLATFORM=offscreen

cmake -S . -B build -G Ninja -DCMAKE_BUILD_TYPE=Release -DTEST_PCH=ON >/dev/null
cmake --build build -j "$jobs"
echo "test.sh: release build done after ${SECONDS} s"
ctest --test-dir build --output-on-failure -j "$jobs"
# The Debian package of that build, and what it holds.
bash scripts/check-package.sh build
echo "test.sh: release tests and package done after ${SECONDS} s"

export ASAN_OPTIONS=detect_leaks=1:abort_on_error=0:strict_string_checks=1
export UBSAN_OPTIONS=print_stacktrace=1:halt_on_error=1
CC=clang CXX=clang++ cmake -S . -B build-asan -G Ninja -DCMAKE_BUILD_TYPE=Debug \
  -DSANITIZE=ON -DFUZZ=ON -DBUILD_BENCHMARKS=OFF -DTEST_PCH=ON >/dev/null
cmake --build build-asan -j "$jobs"
echo "test.sh: sanitizer build done after ${SECONDS} s"
ctest --test-dir build-asan --output-on-failure -j "$jobs"
echo "test.sh: every test passed after ${SECONDS} s"
