#!/usr/bin/env bash
# Fuzzes the OBJ reader for longer than the test suite does.
#
#   scripts/fuzz-obj-reader.sh [SECONDS]   (default 600)
#
# The same as scripts/fuzz-run.sh obj-reader [SECONDS]; see there.
set -euo pipefail
exec "$(dirname "$0")/fuzz-run.sh" obj-reader "${1:-600}"
