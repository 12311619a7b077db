#!/usr/bin/env bash
# fuzz.sh [SECONDS]: builds the libFuzzer targets with clang, AddressSanitizer and
# UndefinedBehaviorSanitizer, and fuzzes network file loading for SECONDS (300 by
# default). The corpus grows in build-fuzz/corpus; a crashing input is written to
# build-fuzz/artifacts/ and should be kept in tests/model/data/fuzz-regressions/.
set -euo pipefail
root=$(cd "$(dirname "$0")/.." && pwd)
seconds=${1:-300}
build="$root/build-fuzz"

packages=(clang libclang-rt-14-dev python3 cmake ninja-build)
missing=()
for package in "${packages[@]}"; do
  dpkg-query -W -f='${Status}' "$package" 2>/dev/null | grep -q "install ok installed" || missing+=("$package")
done
if [ ${#missing[@]} -ne 0 ]; then
  sudo=""
  [ "$(id -u)" -ne 0 ] && sudo="sudo"
  echo "Installing: ${missing[*]}"
  $sudo apt-get update -q
  DEBIAN_FRONTEND=noninteractive $sudo apt-get install -y -q --no-install-recommends "${missing[@]}"
fi

CC=clang CXX=clang++ cmake -S "$root" -B "$build" -G Ninja -DCMAKE_BUILD_TYPE=RelWithDebInfo \
  -DVELMORA_FUZZ=ON -DVELMORA_BUILD_TESTS=OFF -DVELMORA_BUILD_BENCHMARKS=OFF
cmake --build "$build" -j2 --target fuzz_network_load

mkdir -p "$build/corpus" "$build/artifacts"
# Inputs come from the corpus, the generated seeds and every kept regression input.
inputs=("$build/corpus" "$build/fuzz/seeds")
regressions="$root/tests/model/data/fuzz-regressions"
[ -d "$regressions" ] && inputs+=("$regressions")
exec "$build/bin/fuzz_network_load" -max_total_time="$seconds" -artifact_prefix="$build/artifacts/" \
  -print_final_stats=1 "${inputs[@]}"
