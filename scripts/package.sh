#!/usr/bin/env bash
# Builds the release preset and makes the Debian package build/package/quorin_<version>_amd64.deb
# with CPack, then has lintian look it over. Not part of the test run, which packages the
# test build's tree instead (tests/packaging).
set -euo pipefail
cd "$(dirname "$0")/.."
scripts/install-deps.sh
cmake --preset release
cmake --build --preset release -j"$(nproc)"
cpack --preset release
deb=$(ls -t build/package/quorin_*_amd64.deb | head -n 1)
lintian --fail-on error "$deb"
echo "Package: $deb"
