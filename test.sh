#!/usr/bin/env bash
# Installs what is missing, builds, and runs every test (CTest, offscreen Qt).
# Slow soak and fuzz runs carry the labels "soak" and "fuzz" and are left out;
# run them with: ctest --test-dir build -L fuzz (after a -DKELD_FUZZ=ON clang build).
set -euo pipefail
cd "$(dirname "$0")"
source scripts/common.sh
keld_install_deps
keld_build
export QT_QPA_PLATFORM=offscreen
ctest --test-dir build --output-on-failure -j2 -LE '^(fuzz|soak)$' "$@"
