#!/usr/bin/env bash
# Installs every Debian 12 package the build, the tests and the benchmarks use.
set -euo pipefail
export DEBIAN_FRONTEND=noninteractive
apt-get update -qq
apt-get install -y -qq --no-install-recommends \
  build-essential cmake ninja-build pkg-config git \
  clang-14 clang libclang-rt-14-dev \
  libgtest-dev libgmock-dev libbenchmark-dev libtinyobjloader-dev \
  qt6-base-dev qt6-base-dev-tools qt6-qpa-plugins libgl1-mesa-dev \
  fonts-dejavu-core xvfb xauth >/dev/null
