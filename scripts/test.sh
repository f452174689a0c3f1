#!/usr/bin/env bash
# Does all set-up on a fresh Debian machine, builds, and runs every test.
#   scripts/test.sh              the suite in an ordinary build
#   scripts/test.sh --sanitize   the same suite under AddressSanitizer + UndefinedBehaviorSanitizer
set -euo pipefail
top=$(cd "$(dirname "$0")/.." && pwd)
"$top/scripts/setup.sh"
mode=${1:-}
"$top/scripts/build.sh" $mode
dir=$top/build
if [ "$mode" = --sanitize ]; then
  dir=$top/build-asan
  export ASAN_OPTIONS=${ASAN_OPTIONS:-detect_leaks=1:abort_on_error=1:strict_string_checks=1}
  export LSAN_OPTIONS=${LSAN_OPTIONS:-suppressions=$top/scripts/lsan.supp:print_suppressions=0}
  export UBSAN_OPTIONS=${UBSAN_OPTIONS:-print_stacktrace=1:halt_on_error=1}
fi
export QT_QPA_PLATFORM=${QT_QPA_PLATFORM:-offscreen}
cd "$dir"
ctest --output-on-failure -j "${TESSIVAL_JOBS:-$(nproc)}" --timeout 300
