#!/usr/bin/env bash
# Fuzzes the OBJ reader for longer than the test suite does.
#
#   scripts/fuzz-obj-reader.sh [SECONDS]   (default 600)
#
# scripts/fuzz-run.sh obj-reader (see there) twice, sharing one corpus: half
# the time with the load on one thread (the most inputs a second), half with
# the input cut into chunks read on two threads (each of the load's three
# passes then hands a chunk to the other thread and waits for it). One input
# in eight is cross-checked against the byte-at-a-time line reader (see the
# fuzz target); OBJ_FUZZ_CHECK_ALL=1 in the environment checks every one, and
# a crash file replays the same checks without it.
set -euo pipefail
seconds=${1:-600}
half=$(( seconds / 2 > 0 ? seconds / 2 : 1 ))
for threads in 1 2; do
  echo "fuzz-obj-reader.sh: the load on $threads thread(s) for $half s"
  OBJ_FUZZ_THREADS=$threads "$(dirname "$0")/fuzz-run.sh" obj-reader "$half"
done
