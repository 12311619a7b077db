#!/usr/bin/env bash
# Installs what is missing, builds, and starts the program. Arguments are passed
# on to it (a network file to open, for example).
set -euo pipefail
root=$(cd "$(dirname "$0")/.." && pwd)
"$root/scripts/install-deps.sh"
"$root/scripts/build.sh" "$root/build" -DCMAKE_BUILD_TYPE=RelWithDebInfo

if [ -z "${DISPLAY:-}" ] && [ -z "${WAYLAND_DISPLAY:-}" ]; then
  echo "No display found (DISPLAY and WAYLAND_DISPLAY are both empty): the desktop"
  echo "program cannot open its window here. The engine runs without a window:"
  echo
  echo "    $root/build/bin/velmora-cli --help"
  echo
  exec "$root/build/bin/velmora-cli" --help
fi
exec "$root/build/bin/velmora-studio" "$@"
