#!/usr/bin/env bash
# Checks the layer diagram of docs/architecture.md on every tracked source file:
#   - an #include "layer/..." may point to the file's own layer or to one below it;
#   - net/, html/, layout/, reader/, imaging/ and platform/ outside platform/qt/ include no Qt header
#     (<Q...>, <Qt...>) and nothing of platform/qt/;
#   - no layer includes tests/, tools/, bench/ or fuzz/.
# tests/, tools/, bench/ and fuzz/ may include anything. Prints every offending line and
# ends with "check-layers: N files, M faults"; fails when M > 0.
#   scripts/check_layers.sh [ROOT]   (ROOT defaults to the checkout this script is in)
set -euo pipefail
root=${1:-$(cd "$(dirname "$0")/.." && pwd)}
cd "$root"

# The diagram from the bottom up: a layer may include its own and every earlier one.
layers=(platform net imaging html layout reader viewer widgets app)
qt_free=(platform net imaging html layout reader)

rank() {
  local i
  for i in "${!layers[@]}"; do
    [ "${layers[$i]}" = "$1" ] && { echo "$i"; return; }
  done
  echo -1
}

is_qt_free() {
  local layer
  for layer in "${qt_free[@]}"; do [ "$layer" = "$1" ] && return 0; done
  return 1
}

files=0
faults=0
fault() {
  echo "$1: $2"
  faults=$((faults + 1))
}

while IFS= read -r file; do
  layer=${file%%/*}
  own=$(rank "$layer")
  files=$((files + 1))
  qt_free_file=false
  if is_qt_free "$layer" && [[ $file != platform/qt/* ]]; then qt_free_file=true; fi
  # "line:text" of every include directive, continuation lines and comments aside.
  while IFS= read -r hit; do
    line=${hit%%:*}
    directive=${hit#*:}
    target=$(sed -E 's/^[[:space:]]*#[[:space:]]*include[[:space:]]*[<"]([^>"]*)[>"].*/\1/' <<<"$directive")
    if [[ $directive =~ \<Q ]]; then
      $qt_free_file && fault "$file:$line" "Qt header <$target> in a layer without Qt"
      continue
    fi
    [[ $directive =~ \" ]] || continue
    top=${target%%/*}
    [ "$top" = "$target" ] && continue  # a file beside this one
    case $top in
      tests|tools|bench|fuzz)
        fault "$file:$line" "\"$target\": a layer never includes $top/"
        continue ;;
    esac
    if [[ $target == platform/qt/* ]] && $qt_free_file; then
      fault "$file:$line" "\"$target\": the Qt half of the platform in a layer without Qt"
      continue
    fi
    theirs=$(rank "$top")
    ((theirs < 0)) && continue  # not a layer folder (a system or generated header)
    if ((theirs > own)); then
      fault "$file:$line" "\"$target\": $layer/ may not include $top/, which is above it"
    fi
  done < <(grep -nE '^[[:space:]]*#[[:space:]]*include[[:space:]]*[<"]' "$file" || true)
done < <(git ls-files -- "${layers[@]/%//*.cpp}" "${layers[@]/%//*.h}")

echo "check-layers: $files files, $faults faults"
((faults == 0))
