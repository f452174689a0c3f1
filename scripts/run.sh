#!/usr/bin/env bash
# Does all set-up on a fresh Debian machine, builds, and starts the program.
#   scripts/run.sh          start on the current display
#   scripts/run.sh --xvfb   start inside a virtual X server (xvfb-run) when there is no display
set -euo pipefail
top=$(cd "$(dirname "$0")/.." && pwd)
"$top/scripts/setup.sh"
"$top/scripts/build.sh"
mkdir -p "${TESSIVAL_WORKDIR:-$HOME/tessival}"
cd "${TESSIVAL_WORKDIR:-$HOME/tessival}"
if [ "${1:-}" = --xvfb ]; then
  exec xvfb-run -a -s "-screen 0 1280x1024x24" "$top/build/app/tessival"
fi
if [ -z "${DISPLAY:-}" ] && [ -z "${WAYLAND_DISPLAY:-}" ]; then
  echo "tessival: no display found (DISPLAY and WAYLAND_DISPLAY are unset)." >&2
  echo "Start it from a desktop session, or run: scripts/run.sh --xvfb" >&2
  exit 1
fi
exec "$top/build/app/tessival"
