#!/usr/bin/env bash
# Installs what is missing, builds, and runs every test; fails when one fails.
#   ./test.sh          unit, view and settings tests, the same under the sanitizers, a short
#                      fuzzing run, the end-to-end suite, the real desktops (openbox, mutter,
#                      sway, then the panel icon in waybar's tray) and the Debian package's test
#   ./test.sh --fuzz   the same with a long fuzzing run
set -euo pipefail
ROOT="$(cd "$(dirname "$0")" && pwd)"
. "$ROOT/scripts/packages.sh"
FUZZ_MODE=short
[ "${1:-}" = "--fuzz" ] && FUZZ_MODE=long

# shellcheck disable=SC2086
install_missing $BUILD_PACKAGES $TEST_PACKAGES
build_into "$ROOT/build-tests" -DBUILD_TESTING=ON
(cd "$ROOT/build-tests" && ctest --output-on-failure --timeout 120 -j "$(nproc)")

for stage in "$ROOT/scripts/test-sanitizers.sh" "$ROOT/scripts/test-fuzz.sh" "$ROOT/tests/e2e/run.sh" \
    "$ROOT/tests/desktops/run.sh" "$ROOT/tests/package/run.sh"; do
    if [ -x "$stage" ]; then
        echo "== ${stage#"$ROOT"/}"
        FUZZ_MODE=$FUZZ_MODE "$stage"
    fi
done
