#!/usr/bin/env bash
# Fuzzes one of the readers for longer than the test suite does.
#
#   scripts/fuzz-run.sh TARGET [SECONDS]   (default 600)
#
# TARGET is obj-reader, uvs-import, background-picture or brushwright-obj-loader.
# Builds the fuzz target with clang, AddressSanitizer and
# UndefinedBehaviorSanitizer in build-fuzz/ (the libraries holding the code it
# explores carry coverage counters), then runs it from its seed corpus. New interesting inputs
# collect in build-fuzz/<TARGET>-corpus; a crash is written to build-fuzz/ as
# crash-<hash> and can be replayed by passing that file to the target (from
# build-fuzz/, with the ASAN_OPTIONS below).
# Memory is capped, so an input that makes a reader hold more than its counts
# justify is reported as a failure too. The last lines of the output give the
# inputs per second and the coverage reached (cov: and ft:).
set -euo pipefail
cd "$(dirname "$0")/.."
target=${1:?usage: scripts/fuzz-run.sh TARGET [SECONDS]}
seconds=${2:-600}
asan_extra=
case "$target" in
  obj-reader)
    program=corvina/obj_reader_fuzz corpus=corvina/files/fuzz/corpus
    # Inputs up to two of the line reader's 2048-byte chunks: lines that
    # straddle chunks and the 1023-character cut get explored, yet most inputs
    # stay small, as an input's cost grows with its length. libFuzzer starts
    # the length limit at the largest seed (just over one chunk) and raises it
    # only while no new coverage comes.
    max_len=4096
    # An input frees far less than 16 MB, so a use after free inside one is
    # still caught, and the freed memory is reused while it is in the cache.
    asan_extra=:quarantine_size_mb=16 ;;
  uvs-import)
    program=corvina/uvs_import_fuzz corpus=corvina/files/fuzz/uvs_corpus max_len=16384 ;;
  background-picture)
    program=corvina/editor/background/background_picture_fuzz
    corpus=corvina/editor/background/fuzz/corpus max_len=16384 ;;
  brushwright-obj-loader)
    program=brushwright/brushwright_obj_loader_fuzz corpus=brushwright/fuzz/corpus
    max_len=65536 ;;
  *)
    echo "unknown fuzz target: $target" >&2
    exit 2 ;;
esac
# Leaks are reported as they are: no suppressions.
export ASAN_OPTIONS=detect_leaks=1:abort_on_error=0$asan_extra
export UBSAN_OPTIONS=print_stacktrace=1:halt_on_error=1
export QT_QPA_PLATFORM=offscreen
launcher=()
if command -v ccache >/dev/null; then
  launcher=(-DCMAKE_C_COMPILER_LAUNCHER=ccache -DCMAKE_CXX_COMPILER_LAUNCHER=ccache)
fi
CC=clang CXX=clang++ cmake -S . -B build-fuzz -G Ninja -DCMAKE_BUILD_TYPE=RelWithDebInfo \
  -DSANITIZE=ON -DFUZZ=ON -DBUILD_BENCHMARKS=OFF "${launcher[@]}" >/dev/null
cmake --build build-fuzz --target "$(basename "$program")" -j "$(nproc)"
mkdir -p "build-fuzz/$target-corpus"
cd build-fuzz
"./$program" -max_total_time="$seconds" -max_len="$max_len" -rss_limit_mb=2048 \
  -timeout=10 -print_final_stats=1 "$target-corpus" "../$corpus"
