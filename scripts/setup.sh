#!/usr/bin/env bash
# Installs every Debian package the project needs (the lists in scripts/packages/*.txt)
# that is not installed yet; with --bench also those only the benchmarks link
# (scripts/packages/bench/*.txt). Runs apt-get update only when something is missing, so a
# machine that already has everything is not touched.
set -euo pipefail
here=$(cd "$(dirname "$0")" && pwd)

lists=("$here"/packages/*.txt)
if [ "${1:-}" = --bench ]; then lists+=("$here"/packages/bench/*.txt); fi
wanted=$(grep -hv '^\s*#' "${lists[@]}" | tr -s ' \t' '\n' | sed '/^$/d' | sort -u)
missing=()
for pkg in $wanted; do
  if ! dpkg-query -W -f='${Status}' "$pkg" 2>/dev/null | grep -q 'install ok installed'; then
    missing+=("$pkg")
  fi
done
if ((${#missing[@]})); then
  echo "setup: installing ${missing[*]}"
  sudo_cmd=()
  if [ "$(id -u)" != 0 ]; then sudo_cmd=(sudo); fi
  "${sudo_cmd[@]}" apt-get update -qq
  DEBIAN_FRONTEND=noninteractive "${sudo_cmd[@]}" apt-get install -y -qq --no-install-recommends "${missing[@]}"
fi
