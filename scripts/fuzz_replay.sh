#!/usr/bin/env bash
# Builds every libFuzzer target and replays its kept corpus and crash files once, as a
# regression test: an input that once crashed a parser must now be handled cleanly.
#   scripts/fuzz_replay.sh            replay all targets
#   scripts/fuzz_replay.sh NAME SECS  fuzz one target (e.g. css_fuzz) for SECS seconds
# The viewer's target needs Qt and is built apart (build-fuzz-viewer/); it is replayed with
# the others.
set -euo pipefail
top=$(cd "$(dirname "$0")/.." && pwd)
dir=$top/build-fuzz/fuzz
viewer_target=$top/build-fuzz-viewer/fuzz/viewer_fuzz
export ASAN_OPTIONS=${ASAN_OPTIONS:-detect_leaks=1}
export UBSAN_OPTIONS=${UBSAN_OPTIONS:-print_stacktrace=1:halt_on_error=1}
# The viewer's target loads the desktop libraries, which keep some memory to the end.
export LSAN_OPTIONS=${LSAN_OPTIONS:-suppressions=$top/scripts/lsan.supp:print_suppressions=0}

if [ $# -ge 1 ]; then
  name=$1; secs=${2:-300}
  if [ "$name" = viewer_fuzz ]; then
    "$top/scripts/build.sh" --fuzz-viewer
    target=$viewer_target
  else
    "$top/scripts/build.sh" --fuzz
    target=$dir/$name
  fi
  mkdir -p "$top/fuzz/corpus/${name%_fuzz}" "$top/fuzz/crashes/${name%_fuzz}"
  "$target" -max_total_time="$secs" -timeout=10 -rss_limit_mb=2048 \
    -artifact_prefix="$top/fuzz/crashes/${name%_fuzz}/" "$top/fuzz/corpus/${name%_fuzz}"
  exit
fi

"$top/scripts/build.sh" --fuzz
"$top/scripts/build.sh" --fuzz-viewer
passed=0; failed=0
for target in "$dir"/*_fuzz "$viewer_target"; do
  name=$(basename "$target"); short=${name%_fuzz}
  if [ ! -x "$target" ]; then
    failed=$((failed + 1)); echo "fuzz: $name was not built"; continue
  fi
  inputs=()
  for d in "$top/fuzz/corpus/$short" "$top/fuzz/crashes/$short"; do
    [ -d "$d" ] && [ -n "$(ls -A "$d")" ] && inputs+=("$d")
  done
  if ((${#inputs[@]} == 0)); then
    echo "fuzz: $name has no kept inputs; running it for 10 seconds"
    args=(-max_total_time=10)
  else
    args=(-runs=0)
  fi
  if "$target" "${args[@]}" -timeout=10 -rss_limit_mb=2048 "${inputs[@]}" >"$(dirname "$target")/../$name.log" 2>&1; then
    passed=$((passed + 1))
  else
    failed=$((failed + 1)); echo "fuzz: $name FAILED"; tail -40 "$(dirname "$target")/../$name.log"
  fi
done
echo "fuzz-replay: $passed passed, $failed failed"
[ "$failed" = 0 ]
