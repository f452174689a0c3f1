#!/usr/bin/env bash
# Builds the Debian package in a Release build of its own (build-package/, no tests), with
# stripped programs, manual pages and the Debian documents, and checks it with lintian.
#   scripts/package.sh          -> build-package/tessival_<version>_amd64.deb
set -euo pipefail
top=$(cd "$(dirname "$0")/.." && pwd)
dir=$top/build-package
export CCACHE_DIR=${CCACHE_DIR:-$HOME/.cache/ccache}
export CCACHE_BASEDIR=$top CCACHE_NOHASHDIR=1
jobs=${TESSIVAL_JOBS:-$(nproc)}

"$top/scripts/setup.sh"
cmake -S "$top" -B "$dir" -G Ninja -DCMAKE_BUILD_TYPE=Release -DTESSIVAL_TESTS=OFF \
  -DTESSIVAL_PACKAGE_DOCS=ON >/dev/null
cmake --build "$dir" -j "$jobs"
rm -f "$dir"/tessival_*.deb
(cd "$dir" && cpack -G DEB >/dev/null)
deb=$(ls "$dir"/tessival_*.deb)
echo "package: $deb ($(du -k "$deb" | cut -f1) KiB)"
appstreamcli validate --no-net "$top"/packaging/*.metainfo.xml
if command -v lintian >/dev/null; then
  # Reported in full; errors or warnings fail the run.
  lintian --fail-on error,warning "$deb"
  echo "lintian: no errors, no warnings"
fi
