#!/usr/bin/env bash
# Installs what is missing, builds, and starts the configuration tool against
# the simulated unit (under Xvfb when there is no display).
set -euo pipefail
cd "$(dirname "$0")"
source scripts/common.sh
keld_install_deps
keld_build
bin=build/bin
launch=()
if [ -x "$bin/AxisCfg" ]; then
  launch=("$bin/AxisCfg" "$@")
elif [ -x "$bin/axview_grid_demo" ]; then
  launch=("$bin/axview_grid_demo" "$@")
elif [ -x "$bin/plcsim" ]; then
  launch=("$bin/plcsim" --help)
else
  echo "Nothing to start yet." >&2
  exit 1
fi
if [ -z "${DISPLAY:-}" ] && [ -z "${WAYLAND_DISPLAY:-}" ] && [ "${launch[0]}" != "$bin/plcsim" ]; then
  exec xvfb-run -a "${launch[@]}"
fi
exec "${launch[@]}"
