#!/usr/bin/env bash
# Checks every tracked C++ file (.cpp, .h) against .clang-format.
#   scripts/check_format.sh         lists the files that differ and fails when there are any
#   scripts/check_format.sh --fix   rewrites only the files that differ
# Ends with "check-format: N files, M differ".
set -euo pipefail
cd "$(dirname "$0")/.."
fix=false
case ${1:-} in
  --fix) fix=true ;;
  "") ;;
  *) echo "usage: $0 [--fix]" >&2; exit 2 ;;
esac
command -v clang-format >/dev/null || { echo "check-format: clang-format is not installed (scripts/setup.sh)" >&2; exit 2; }

files=0
differ=()
while IFS= read -r -d '' file; do
  files=$((files + 1))
  if ! clang-format --dry-run --Werror "$file" >/dev/null 2>&1; then
    differ+=("$file")
  fi
done < <(git ls-files -z -- '*.cpp' '*.h')

for file in "${differ[@]}"; do
  if $fix; then
    clang-format -i "$file"
    echo "reformatted $file"
  else
    echo "differs: $file (scripts/check_format.sh --fix rewrites it)"
  fi
done
echo "check-format: $files files, ${#differ[@]} differ"
$fix || ((${#differ[@]} == 0))
