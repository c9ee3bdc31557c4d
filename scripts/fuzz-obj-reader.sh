#!/usr/bin/env bash
# Fuzzes the OBJ reader for longer than the test suite does.
#
#   scripts/fuzz-obj-reader.sh [SECONDS]   (default 600)
#
# scripts/fuzz-run.sh obj-reader (see there) twice, sharing one corpus: half
# the time with the load on one thread (the most inputs a second), half with
# the input cut into chunks read on two threads.
set -euo pipefail
seconds=${1:-600}
half=$(( seconds / 2 > 0 ? seconds / 2 : 1 ))
for threads in 1 2; do
  echo "fuzz-obj-reader.sh: the load on $threads thread(s) for $half s"
  OBJ_FUZZ_THREADS=$threads "$(dirname "$0")/fuzz-run.sh" obj-reader "$half"
done
