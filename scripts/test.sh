#!/usr/bin/env bash
# Builds everything and runs every test (under Wine, in Xvfb). Exits non-zero when any test fails.
set -euo pipefail
cd "$(dirname "$0")/.."
scripts/setup-debian.sh
cmake --preset mingw-x86 >/dev/null
cmake --build --preset mingw-x86
ctest --preset mingw-x86
