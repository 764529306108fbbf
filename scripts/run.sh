#!/usr/bin/env bash
# Installs what is needed, builds, and starts the program.
set -euo pipefail
cd "$(dirname "$0")/.."
bash scripts/deps.sh
bash scripts/build.sh
program=build/bin/quillomark
if [ ! -x "$program" ]; then
  echo "Built the libraries, tests and benchmarks; the program itself ($program) is not built yet."
  exit 0
fi
if [ -z "${DISPLAY:-}" ] && [ -z "${WAYLAND_DISPLAY:-}" ]; then
  echo "No display: starting under a virtual X server (xvfb-run)." >&2
  exec xvfb-run -a "$program" "$@"
fi
exec "$program" "$@"
