#!/usr/bin/env bash
# Installs what the three programs need on Debian 12, builds the programs (the
# tests and benchmarks are left to scripts/test.sh), and runs corvina's main
# job on the bundled example model: box mapping, tiling by material, the model
# saved as OBJ, a BMP template to paint on and a picture of the texture map,
# all in out/, and the model's statistics.
set -euo pipefail
cd "$(dirname "$0")/.."

if [ "$(id -u)" = 0 ] && command -v apt-get >/dev/null; then
  bash scripts/install-packages.sh
fi

cmake -S . -B build -G Ninja -DCMAKE_BUILD_TYPE=Release >/dev/null
cmake --build build --target corvina corvina-cli lkit brushwright-host brushwright docs

out=out
mkdir -p "$out"
echo
echo "corvina-cli load examples/crate.obj box tile-material ..."
./build/corvina/app/corvina-cli load examples/crate.obj box tile-material color material \
  save-obj "$out/crate.obj" save-bmp "$out/crate.bmp" render "$out/crate.png" stats dims
cat <<RESULTS
The example model, box-mapped and tiled by material, is in $out/:
  $out/crate.obj   the model with its new texture coordinates
  $out/crate.bmp   the texture map as a template to paint on
  $out/crate.png   the texture map as the corvina window shows it
The programs are in build/: build/corvina/app/corvina, build/corvina/app/corvina-cli,
build/lkit/lkit and build/brushwright/brushwright-host.
RESULTS

# On a desktop, open the window on the example as well.
if [ -n "${DISPLAY:-}${WAYLAND_DISPLAY:-}" ]; then
  ./build/corvina/app/corvina "$out/crate.obj" >/dev/null 2>&1 &
  echo "Opened the result in the corvina window"
fi
