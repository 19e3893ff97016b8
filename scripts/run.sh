#!/usr/bin/env bash
# Builds the release preset and starts Quorin on the embedded default registry, which
# is created with the demo data the first time.
set -euo pipefail
cd "$(dirname "$0")/.."
scripts/install-deps.sh
cmake --preset release
cmake --build --preset release -j"$(nproc)"
build/release/tools/quorin-registry create --demo --if-missing
exec build/release/app/quorin "$@"
