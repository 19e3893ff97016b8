#!/usr/bin/env bash
# Builds the test preset's picture program and writes pictures of every tab of the main
# window and of the dialogs and report windows, on a demo registry, to build/screenshots/
# for a reviewer; then lists them. Not part of the test run.
set -euo pipefail
cd "$(dirname "$0")/.."
scripts/install-deps.sh
cmake --preset test
cmake --build --preset test -j"$(nproc)" --target quorin_screenshots
out=build/screenshots
rm -rf "$out"
mkdir -p "$out"
# The sanitizers' options as the test run sets them. A picture that could not be made
# is named on standard error and fails the script, after the listing.
status=0
QT_QPA_PLATFORM=offscreen ASAN_OPTIONS="${ASAN_OPTIONS:-detect_leaks=1:detect_odr_violation=0}" \
  build/test/tests/screenshots/quorin_screenshots "$out" || status=$?
ls -1 "$out"
exit "$status"
