#!/usr/bin/env bash
# Builds the test preset (AddressSanitizer + UndefinedBehaviorSanitizer) and runs every
# test through CTest.
set -euo pipefail
cd "$(dirname "$0")/.."
scripts/install-deps.sh
cmake --preset test
cmake --build --preset test -j"$(nproc)"
ctest --preset test -j"$(nproc)"
