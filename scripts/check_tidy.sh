#!/usr/bin/env bash
# Runs clang-tidy with the project's .clang-tidy over the sources, using the compile
# commands of build/ (configured first when missing).
#   scripts/check_tidy.sh              every source file of the tree
#   scripts/check_tidy.sh --since REV  only the .cpp files changed since git revision REV,
#                                      and the .cpp beside every changed .h
# TESSIVAL_JOBS sets the number of parallel clang-tidy runs (default: all processors).
# Prints every finding and ends with "check-tidy: N files, M findings"; fails when M > 0.
set -euo pipefail
root=$(cd "$(dirname "$0")/.." && pwd)
cd "$root"
jobs=${TESSIVAL_JOBS:-$(nproc)}
since=
case ${1:-} in
  --since) since=${2:?"usage: $0 [--since REV]"} ;;
  "") ;;
  *) echo "usage: $0 [--since REV]" >&2; exit 2 ;;
esac
command -v clang-tidy >/dev/null && command -v run-clang-tidy >/dev/null ||
  { echo "check-tidy: clang-tidy is not installed (scripts/setup.sh)" >&2; exit 2; }

if [ ! -f build/compile_commands.json ]; then
  cmake -S . -B build -G Ninja -DCMAKE_BUILD_TYPE=RelWithDebInfo >/dev/null
fi
# Our sources only, never the ones Qt's tools generate under build/.
sources='(app|widgets|viewer|reader|layout|html|imaging|net|platform|tests|tools|bench|fuzz)/'

if [ -n "$since" ]; then
  files=()
  while IFS= read -r file; do
    case $file in
      *.cpp) [ -f "$file" ] && files+=("$file") ;;
      *.h) [ -f "${file%.h}.cpp" ] && files+=("${file%.h}.cpp") ;;
    esac
  done < <(git diff --name-only "$since" -- '*.cpp' '*.h' | grep -E "^$sources" | sort -u)
  if ((${#files[@]} == 0)); then
    echo "check-tidy: 0 files, 0 findings"
    exit 0
  fi
  patterns=()
  for file in "${files[@]}"; do patterns+=("^$root/$file\$"); done
else
  patterns=("^$root/$sources")
fi

log=$(mktemp)
trap 'rm -f "$log"' EXIT
run-clang-tidy -p build -j "$jobs" -quiet "${patterns[@]}" >"$log" 2>&1 || true
# A finding is "path:line:col: warning|error: text [check]"; a header seen from several
# files is reported once.
findings=$(sed "s/\x1b\[[0-9;]*m//g" "$log" | grep -E '^/[^ ]+:[0-9]+:[0-9]+: (warning|error):' | sed "s#^$root/##" | sort -u || true)
[ -n "$findings" ] && echo "$findings"
count=$(grep -c . <<<"$findings" || true)
checked=$(grep -oE '"file": *"[^"]+"' build/compile_commands.json | sed -E 's/.*"([^"]+)"$/\1/' |
  grep -cE "$(IFS='|'; echo "${patterns[*]}")" || true)
echo "check-tidy: $checked files, $count findings"
((count == 0))
