#!/usr/bin/env bash
# build.sh BUILD_DIR [extra CMake arguments]: configures (once) and builds with Ninja.
set -euo pipefail
build_dir=$1
shift
root=$(cd "$(dirname "$0")/.." && pwd)
cmake -S "$root" -B "$build_dir" -G Ninja "$@"
cmake --build "$build_dir"
