#!/usr/bin/env bash
# Configures and builds one build directory.
#   scripts/build.sh                 release build with tests in build/
#   scripts/build.sh --sanitize      ASan + UBSan build in build-asan/
#   scripts/build.sh --fuzz          libFuzzer targets (clang) in build-fuzz/
#   scripts/build.sh --fuzz-viewer   the viewer's libFuzzer target (clang, with Qt) in build-fuzz-viewer/
set -euo pipefail
top=$(cd "$(dirname "$0")/.." && pwd)
mode=${1:-release}
export CCACHE_DIR=${CCACHE_DIR:-$HOME/.cache/ccache}
export CCACHE_MAXSIZE=${CCACHE_MAXSIZE:-5G}
# Paths inside the tree are hashed relative to it, so CI's fresh clone reuses the cache.
export CCACHE_BASEDIR=$top CCACHE_NOHASHDIR=1
jobs=${TESSIVAL_JOBS:-$(nproc)}

case "$mode" in
  release|"")
    dir=$top/build
    args=(-DCMAKE_BUILD_TYPE=RelWithDebInfo) ;;
  --sanitize)
    dir=$top/build-asan
    args=(-DCMAKE_BUILD_TYPE=Debug -DTESSIVAL_SANITIZE=ON -DCMAKE_CXX_FLAGS_DEBUG="-g -O1") ;;
  --fuzz)
    dir=$top/build-fuzz
    args=(-DCMAKE_BUILD_TYPE=RelWithDebInfo -DCMAKE_CXX_COMPILER=clang++ -DTESSIVAL_GUI=OFF
          -DTESSIVAL_TESTS=OFF -DTESSIVAL_FUZZ=ON
          "-DCMAKE_CXX_FLAGS=-fsanitize=fuzzer-no-link,address,undefined -fno-sanitize-recover=all") ;;
  --fuzz-viewer)
    dir=$top/build-fuzz-viewer
    args=(-DCMAKE_BUILD_TYPE=RelWithDebInfo -DCMAKE_CXX_COMPILER=clang++ -DTESSIVAL_TESTS=OFF
          -DTESSIVAL_FUZZ=ON
          "-DCMAKE_CXX_FLAGS=-fsanitize=fuzzer-no-link,address,undefined -fno-sanitize-recover=all")
    cmake -S "$top" -B "$dir" -G Ninja "${args[@]}" >/dev/null
    exec cmake --build "$dir" -j "$jobs" --target viewer_fuzz ;;
  --bench)
    "$top/scripts/setup.sh" --bench
    dir=$top/build-bench
    args=(-DCMAKE_BUILD_TYPE=Release -DTESSIVAL_BENCH=ON -DTESSIVAL_TESTS=OFF) ;;
  *) echo "usage: $0 [--sanitize|--fuzz|--fuzz-viewer|--bench]" >&2; exit 2 ;;
esac

cmake -S "$top" -B "$dir" -G Ninja "${args[@]}" >/dev/null
cmake --build "$dir" -j "$jobs"
