#!/usr/bin/env bash
# Builds the release preset and starts Quorin on the embedded default registry.
set -euo pipefail
cd "$(dirname "$0")/.."
scripts/install-deps.sh
cmake --preset release
cmake --build --preset release -j"$(nproc)"
exec build/release/app/quorin "$@"
