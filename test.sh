#!/usr/bin/env bash
# Installs what is missing, builds, and runs every test; fails when one fails.
set -euo pipefail
ROOT="$(cd "$(dirname "$0")" && pwd)"
. "$ROOT/scripts/packages.sh"

# shellcheck disable=SC2086
install_missing $BUILD_PACKAGES $TEST_PACKAGES
build_into "$ROOT/build-tests" -DBUILD_TESTING=ON
cd "$ROOT/build-tests"
ctest --output-on-failure --timeout 120 -j "$(nproc)"
