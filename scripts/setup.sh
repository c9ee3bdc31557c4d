#!/usr/bin/env bash
# Installs what the three programs need on Debian 12, builds them, and runs
# corvina's main job on the bundled example model.
set -euo pipefail
cd "$(dirname "$0")/.."

if [ "$(id -u)" = 0 ] && command -v apt-get >/dev/null; then
  bash scripts/install-packages.sh
fi

cmake -S . -B build -G Ninja -DCMAKE_BUILD_TYPE=Release >/dev/null
cmake --build build

out=out
mkdir -p "$out"
./build/corvina/app/corvina-cli load examples/crate.obj stats dims save-obj "$out/crate.obj"
echo "Saved the example model as $out/crate.obj"

# On a desktop, open the window on the example as well.
if [ -n "${DISPLAY:-}${WAYLAND_DISPLAY:-}" ]; then
  ./build/corvina/app/corvina examples/crate.obj >/dev/null 2>&1 &
  echo "Opened the example in the corvina window"
fi
