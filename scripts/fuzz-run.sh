#!/usr/bin/env bash
# Fuzzes one of the readers for longer than the test suite does.
#
#   scripts/fuzz-run.sh TARGET [SECONDS]   (default 600)
#
# TARGET is obj-reader, uvs-import, background-picture or brushwright-obj-loader.
# Builds the fuzz target with clang, AddressSanitizer and
# UndefinedBehaviorSanitizer in build-fuzz/ (every library there carries
# coverage counters), then runs it from its seed corpus. New interesting inputs
# collect in build-fuzz/<TARGET>-corpus; a crash is written to build-fuzz/ as
# crash-<hash> and can be replayed by passing that file to the target.
# Memory is capped, so an input that makes a reader hold more than its counts
# justify is reported as a failure too. The last lines of the output give the
# inputs per second and the coverage reached (cov: and ft:).
set -euo pipefail
cd "$(dirname "$0")/.."
target=${1:?usage: scripts/fuzz-run.sh TARGET [SECONDS]}
seconds=${2:-600}
extra=()
case "$target" in
  obj-reader)
    program=corvina/obj_reader_fuzz corpus=corvina/files/fuzz/corpus
    # Inputs well past the line reader's 2048-byte chunks, so lines that
    # straddle chunks and the long-line paths get explored; the length limit
    # grows sooner than libFuzzer's default lets it.
    max_len=262144 extra=(-len_control=20) ;;
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
export ASAN_OPTIONS=detect_leaks=1:abort_on_error=0
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
  -timeout=10 -print_final_stats=1 "${extra[@]}" "$target-corpus" "../$corpus"
