#!/usr/bin/env bash
# Builds the unit, view, platform, settings and X11 tests with AddressSanitizer, UndefinedBehavior-
# Sanitizer and LeakSanitizer, and runs them; any report fails the run.
set -euo pipefail
ROOT="$(cd "$(dirname "$0")/.." && pwd)"
. "$ROOT/scripts/packages.sh"

# shellcheck disable=SC2086
install_missing $BUILD_PACKAGES $TEST_PACKAGES

BUILD="$ROOT/build-asan"
# x11_tests starts an X server of its own and runs on it, whatever QT_QPA_PLATFORM says.
TESTS=(core_tests view_tests settings_tests platform_tests x11_tests)
SANITIZE="-fsanitize=address,undefined -fno-omit-frame-pointer -fno-sanitize-recover=undefined"

# Debug keeps Qt's own assertions on in the inline code the project uses.
cmake -S "$ROOT" -B "$BUILD" -G Ninja -DCMAKE_BUILD_TYPE=Debug -DBUILD_TESTING=ON \
    -DCMAKE_CXX_FLAGS="$SANITIZE" -DCMAKE_EXE_LINKER_FLAGS="$SANITIZE" >/dev/null
cmake --build "$BUILD" --parallel 2 --target "${TESTS[@]}"

export QT_QPA_PLATFORM=offscreen
export ASAN_OPTIONS="halt_on_error=1:abort_on_error=1:detect_leaks=1:print_stacktrace=1:detect_stack_use_after_return=1:check_initialization_order=1:strict_init_order=1"
export UBSAN_OPTIONS="halt_on_error=1:print_stacktrace=1"
# Leaks inside third-party libraries only (see the file); the project's own code has none.
export LSAN_OPTIONS="suppressions=$ROOT/scripts/lsan.supp:print_suppressions=0"

failed=()
for test in "${TESTS[@]}"; do
    echo "== $test"
    log="$BUILD/$test.log"
    status=0
    # Each executable runs its tests in one process: far faster than one process a test.
    (cd "$BUILD/tests" && "./$test" --gtest_brief=1) >"$log" 2>&1 || status=$?
    if [ "$status" -ne 0 ] ||
        grep -qE "ERROR: (AddressSanitizer|LeakSanitizer)|runtime error:" "$log"; then
        failed+=("$test")
        echo "$test FAILED (exit status $status); the end of $log:" >&2
        tail -n 80 "$log" >&2
    else
        grep -E "^\[  (PASSED|SKIPPED) " "$log" || true
    fi
done
if [ ${#failed[@]} -gt 0 ]; then
    echo "sanitizer run failed: ${failed[*]}" >&2
    exit 1
fi
