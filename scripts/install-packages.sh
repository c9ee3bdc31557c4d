#!/usr/bin/env bash
# Installs every Debian 12 package the build, the tests and the benchmarks use.
set -euo pipefail
export DEBIAN_FRONTEND=noninteractive
apt-get update -qq
apt-get install -y -qq --no-install-recommends \
  build-essential cmake ninja-build pkg-config git \
  clang-14 clang clang-format libclang-rt-14-dev \
  libgtest-dev libgmock-dev libbenchmark-dev libtinyobjloader-dev \
  qt6-base-dev qt6-base-dev-tools qt6-qpa-plugins libgl1-mesa-dev libx11-dev zlib1g-dev \
  fonts-dejavu-core xvfb xauth >/dev/null

# The 3D preview draws with OpenGL through Qt's OpenGL widgets; Mesa's
# software renderer draws it where there is no GPU (Xvfb, headless runs).
# Qt's image plugins read backgrounds in PNG, JPEG, TGA, WebP and TIFF.
apt-get install -y -qq --no-install-recommends \
  libqt6opengl6-dev libgl1-mesa-dri libegl-mesa0 qt6-image-formats-plugins >/dev/null

# The Debian package: dpkg-shlibdeps and file compute its dependencies; groff
# checks that the manual pages format.
apt-get install -y -qq --no-install-recommends dpkg-dev file groff-base >/dev/null

# Pillow: a test reads the written BMP templates with an independent reader.
apt-get install -y -qq --no-install-recommends python3 python3-pil >/dev/null

# A German locale, so the tests can check that numbers never follow the user's
# locale (a decimal comma must not leak into files or reports).
apt-get install -y -qq --no-install-recommends locales >/dev/null
if ! locale -a 2>/dev/null | grep -qi '^de_DE\.utf-\?8$'; then
  localedef -i de_DE -f UTF-8 de_DE.UTF-8 || true
fi

# Screenshots of the windows under Xvfb (import -window root, clicks with
# xdotool), for looking at layouts.
apt-get install -y -qq --no-install-recommends imagemagick xdotool >/dev/null
