#!/usr/bin/env bash
# Measures the line coverage the tests give the libraries without widgets: quorin_core's
# folders, dalport and mail. Builds the "coverage" preset (gcov, no sanitizers), runs
# every test, and prints gcovr's summary for each part. Not part of CI.
set -euo pipefail
cd "$(dirname "$0")/.."
scripts/install-deps.sh
if ! command -v gcovr >/dev/null; then
  SUDO=""; [ "$(id -u)" -ne 0 ] && SUDO="sudo"
  DEBIAN_FRONTEND=noninteractive $SUDO apt-get install -y -qq --no-install-recommends gcovr
fi
cmake --preset coverage
cmake --build --preset coverage -j"$(nproc)"
find build/coverage -name '*.gcda' -delete
ctest --preset coverage || true   # coverage is measured whatever a test says; test.sh judges them

core='(rules|document|subjects/record|subjects/store|audiograms/record|audiograms/store|implants/record|implants/store|admin/record|admin/store|reports/query)/'
summary() { # name, filter; the file-by-file report goes beside the build
  echo "== $1"
  gcovr --root . --object-directory build/coverage --filter "$2" --exclude '.*/tests/.*' --exclude 'build/.*' \
        --print-summary --txt "build/coverage/$1.txt" 2>/dev/null | grep -E '^(lines|functions):'
}
summary quorin_core "$core"
summary dalport 'dalport/'
summary mail 'mail/'
