#!/usr/bin/env bash
# build.sh BUILD_DIR [extra CMake arguments]: configures (once) and builds with Ninja.
set -euo pipefail
build_dir=$1
shift
root=$(cd "$(dirname "$0")/.." && pwd)
# Rebuilds in other checkouts of the same tree reuse what was compiled once.
launcher=()
command -v ccache >/dev/null && launcher=(-DCMAKE_CXX_COMPILER_LAUNCHER=ccache)
export CCACHE_BASEDIR="${CCACHE_BASEDIR:-$(dirname "$root")}"
cmake -S "$root" -B "$build_dir" -G Ninja "${launcher[@]}" "$@"
cmake --build "$build_dir"
